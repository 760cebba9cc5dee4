// Game controllers and flight sticks through SDL's virtual joysticks: no window and no
// device needed, the reader meets the same events a real device sends.
#include <SDL.h>
#include <gtest/gtest.h>

#include "platform/FSNullDisplay.h"
#include "platform/FSStickReader.h"

namespace {

constexpr int kFull = 32767;
constexpr int kHalf = 18841;  // 0.575 of the travel: half way from the dead zone's edge

class StickReaderTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS), 0); }
    void TearDown() override {
        reader_.reset();
        while (SDL_NumJoysticks() > 0)
            SDL_JoystickDetachVirtual(0);
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS);
    }
    // A virtual game controller (its standard axes and buttons) or a flight stick with four
    // axes, four buttons and a hat; its device index.
    int Attach(bool controller, const char* name) {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = controller ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_FLIGHT_STICK;
        desc.naxes = controller ? SDL_CONTROLLER_AXIS_MAX : 4;
        desc.nbuttons = controller ? SDL_CONTROLLER_BUTTON_MAX : 4;
        desc.nhats = controller ? 0 : 1;
        desc.name = name;
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        Pump();
        return index;
    }
    void Pump() {
        SDL_Event ev;
        while (SDL_PollEvent(&ev))
            reader_->HandleEvent(ev, display_);
    }
    // Sets the last device's axes (or buttons) and pumps.
    void Set(std::initializer_list<std::pair<int, int>> values, bool buttons = false) {
        SDL_Joystick* j = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(SDL_NumJoysticks() - 1));
        for (const auto& [index, value] : values)
            buttons ? SDL_JoystickSetVirtualButton(j, index, static_cast<Uint8>(value))
                    : SDL_JoystickSetVirtualAxis(j, index, static_cast<Sint16>(value));
        Pump();
    }

    CFSNullDisplay display_;
    std::unique_ptr<CFSStickReader> reader_ = std::make_unique<CFSStickReader>();
};

TEST_F(StickReaderTest, EachKindOfDeviceReadsThroughTheDeadZoneWithItsOwnLayout) {
    struct Case {
        bool controller;
        int x, y, twist, throttleA, throttleB;  // stick: lever on axis 2; controller: triggers L, R
        float wantX, wantY, wantTwist, wantThrottle;
    };
    // A virtual trigger spans the whole raw range: let go is its bottom.
    constexpr int kLetGo = -32768;
    const Case cases[] = {
        {false, 3000, -3000, 3000, 0, 0, 0, 0, 0, -1},                // inside the dead zone; lever unmoved
        {false, kFull, 0, kHalf, -32768, 0, 1, 0, 0.5f, 1},           // right; lever forward is full
        {false, 0, kHalf, -32768, kFull, 0, 0, 0.5f, -1, 0},          // pulled, twisted left; lever back idle
        {false, 9830, -13107, 0, kFull, 0, 0.2471f, -0.3294f, 0, 0},  // a round zone keeps the direction
        {true, 0, 0, 0, kLetGo, kLetGo, 0, 0, 0, -1},
        {true, -kHalf, 0, kFull, kLetGo, kFull, -0.5f, 0, 1, 1},  // right trigger: full
        {true, 0, 0, 0, kFull, kLetGo, 0, 0, 0, 0},               // left trigger: idle
        {true, 0, 0, 0, kLetGo, kLetGo, 0, 0, 0, 0.5f},           // both let go: half
    };
    for (bool controller : {false, true}) {
        Attach(controller, controller ? "Pad" : "Stick");
        ASSERT_EQ(display_.Stick().gameController, controller) << "a virtual controller is opened as one";
        for (const Case& c : cases) {
            if (c.controller != controller) continue;
            if (controller) {
                Set({{SDL_CONTROLLER_AXIS_LEFTX, c.x},
                     {SDL_CONTROLLER_AXIS_LEFTY, c.y},
                     {SDL_CONTROLLER_AXIS_RIGHTX, c.twist},
                     {SDL_CONTROLLER_AXIS_TRIGGERLEFT, c.throttleA},
                     {SDL_CONTROLLER_AXIS_TRIGGERRIGHT, c.throttleB}});
            } else {
                Set({{0, c.x}, {1, c.y}, {2, c.throttleA}, {3, c.twist}});
            }
            const FSStick s = display_.Stick();
            EXPECT_NEAR(s.x, c.wantX, 1e-3f) << c.x;
            EXPECT_NEAR(s.y, c.wantY, 1e-3f) << c.y;
            EXPECT_NEAR(s.twist, c.wantTwist, 1e-3f) << c.twist;
            EXPECT_NEAR(s.throttle, c.wantThrottle, 1e-3f) << c.throttleA << " " << c.throttleB;
        }
    }
    // The controller's A is the action key and B back, once: its raw joystick button is
    // not a second press.
    Set({{SDL_CONTROLLER_BUTTON_A, 1}, {SDL_CONTROLLER_BUTTON_B, 1}}, true);
    EXPECT_TRUE(display_.IsVirtualKeyDown(kVkAction));
    FSEvent e;
    ASSERT_TRUE(display_.GetEvent(e));
    EXPECT_EQ(e.code, display_.BackHotKey());
    EXPECT_FALSE(display_.GetEvent(e));
}

TEST_F(StickReaderTest, DevicesComeAndGoAndTheNewestStillThereIsUsed) {
    const int stick = Attach(false, "Stick A");
    Attach(true, "Pad B");
    EXPECT_EQ(display_.Stick().name, "Pad B");
    SDL_JoystickDetachVirtual(1);
    Pump();
    EXPECT_EQ(display_.Stick().name, "Stick A") << "the pad unplugged: back to the stick";
    // The stick's trigger is the action key and its hat the pad.
    Set({{0, 1}}, true);
    SDL_JoystickSetVirtualHat(SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(stick)), 0,
                              SDL_HAT_LEFT);
    Pump();
    EXPECT_TRUE(display_.IsVirtualKeyDown(kVkAction));
    EXPECT_TRUE(display_.IsVirtualKeyDown(kVkUp)) << "in the menu's orientation the screen's left is up";
    SDL_JoystickDetachVirtual(stick);
    Pump();
    EXPECT_FALSE(display_.Stick().present);
    EXPECT_EQ(display_.Stick().name, "");
    Attach(false, "Stick C");
    EXPECT_EQ(display_.Stick().name, "Stick C");
}

}  // namespace
