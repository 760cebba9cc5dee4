// Game controllers and flight sticks through SDL's virtual joysticks: no window and no
// device needed, the reader meets the same events a real device sends.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cmath>

#include "platform/FSNullDisplay.h"
#include "platform/FSStickReader.h"

namespace {

constexpr int kFull = 32767;
int Raw(float fraction) {
    return static_cast<int>(std::lround(fraction * kFull));
}

class StickReaderTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS), 0) << SDL_GetError();
        reader_ = std::make_unique<CFSStickReader>();
    }
    void TearDown() override {
        reader_.reset();
        for (SDL_Joystick* j : handles_)
            SDL_JoystickClose(j);
        while (SDL_NumJoysticks() > 0)
            SDL_JoystickDetachVirtual(0);
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS);
    }

    // A virtual device: a game controller (the standard six axes and fifteen buttons) or
    // a flight stick with the given axes, four buttons and a hat. Its handle for setting
    // the axes.
    SDL_Joystick* Attach(bool gameController, const char* name, int axes = 4) {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = gameController ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_FLIGHT_STICK;
        desc.naxes = static_cast<Uint16>(gameController ? SDL_CONTROLLER_AXIS_MAX : axes);
        desc.nbuttons = static_cast<Uint16>(gameController ? SDL_CONTROLLER_BUTTON_MAX : 4);
        desc.nhats = gameController ? 0 : 1;
        desc.name = name;
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        EXPECT_GE(index, 0) << SDL_GetError();
        SDL_Joystick* j = SDL_JoystickOpen(index);
        EXPECT_NE(j, nullptr) << SDL_GetError();
        handles_.push_back(j);
        Pump();
        return j;
    }
    void Detach(SDL_Joystick* j) {
        const SDL_JoystickID id = SDL_JoystickInstanceID(j);
        SDL_JoystickClose(j);
        handles_.erase(std::find(handles_.begin(), handles_.end(), j));
        for (int i = 0; i < SDL_NumJoysticks(); ++i)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
        Pump();
    }
    void Pump() {
        SDL_PumpEvents();
        SDL_Event ev;
        while (SDL_PollEvent(&ev))
            reader_->HandleEvent(ev, display_);
    }
    void SetAxes(SDL_Joystick* j, std::initializer_list<std::pair<int, int>> axes) {
        for (const auto& [axis, value] : axes)
            SDL_JoystickSetVirtualAxis(j, axis, static_cast<Sint16>(std::clamp(value, -32768, 32767)));
        Pump();
    }
    FSStick Stick() const { return display_.Stick(); }

    CFSNullDisplay display_;
    std::unique_ptr<CFSStickReader> reader_;
    std::vector<SDL_Joystick*> handles_;
};

TEST(StickDeadZone, RescalesFromTheEdgeOfTheZoneAndKeepsTheDirection) {
    struct Case {
        float x, y, wantX, wantY;
    };
    const float edge = platform::kStickDeadZone;
    const Case cases[] = {
        {0.0f, 0.0f, 0.0f, 0.0f},
        {0.1f, 0.1f, 0.0f, 0.0f},                        // 0.14 from the centre: inside
        {edge + 0.01f, 0.0f, 0.01f / (1 - edge), 0.0f},  // just past the edge: near 0
        {1.0f, 0.0f, 1.0f, 0.0f},
        {-1.0f, 0.0f, -1.0f, 0.0f},
        {0.0f, 0.575f, 0.0f, 0.5f},
        {0.3f, -0.4f, 0.3f * (0.35f / 0.85f) / 0.5f, -0.4f * (0.35f / 0.85f) / 0.5f},
        {1.0f, 1.0f, 0.70710678f, 0.70710678f},  // a square gate's corner is full, not more
    };
    for (const Case& c : cases) {
        float x = c.x;
        float y = c.y;
        platform::RadialDeadZone(x, y, edge);
        EXPECT_NEAR(x, c.wantX, 1e-5f) << c.x << "," << c.y;
        EXPECT_NEAR(y, c.wantY, 1e-5f) << c.x << "," << c.y;
    }
    const float axial[][2] = {{0.0f, 0.0f}, {-0.15f, 0.0f}, {0.575f, 0.5f}, {-1.0f, -1.0f}, {1.2f, 1.0f}};
    for (const auto& a : axial)
        EXPECT_NEAR(platform::AxialDeadZone(a[0], edge), a[1], 1e-5f) << a[0];
    EXPECT_EQ(platform::AxisFraction(-32768), -1.0f);
    EXPECT_EQ(platform::AxisFraction(32767), 1.0f);
}

TEST_F(StickReaderTest, AFlightSticksAxesButtonsAndHatReachTheDisplay) {
    SDL_Joystick* j = Attach(false, "Test Flight Stick");
    ASSERT_TRUE(Stick().present);
    EXPECT_FALSE(Stick().gameController);
    EXPECT_EQ(Stick().name, "Test Flight Stick");
    EXPECT_LT(Stick().throttle, 0.0f) << "the lever has not moved yet";

    struct Case {
        int x, y, throttle, twist;
        float wantX, wantY, wantThrottle, wantTwist;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0.0f, 0.0f, -1.0f, 0.0f},                 // resting: lever unmoved
        {Raw(0.1f), Raw(-0.1f), 0, Raw(0.1f), 0, 0, -1, 0},    // inside the dead zone
        {kFull, 0, -32768, 0, 1.0f, 0.0f, 1.0f, 0.0f},         // right; lever forward is full
        {-32768, 0, kFull, -32768, -1.0f, 0.0f, 0.0f, -1.0f},  // left; lever back is idle
        {0, kFull, 0, kFull, 0.0f, 1.0f, 0.5f, 1.0f},          // pulled back; lever stays live
        {0, Raw(-0.575f), 0, Raw(0.575f), 0.0f, -0.5f, 0.5f, 0.5f},
    };
    for (const Case& c : cases) {
        SetAxes(j, {{0, c.x}, {1, c.y}, {2, c.throttle}, {3, c.twist}});
        const FSStick s = Stick();
        EXPECT_NEAR(s.x, c.wantX, 1e-3f) << c.x;
        EXPECT_NEAR(s.y, c.wantY, 1e-3f) << c.y;
        EXPECT_NEAR(s.throttle, c.wantThrottle, 1e-3f) << c.throttle;
        EXPECT_NEAR(s.twist, c.wantTwist, 1e-3f) << c.twist;
    }

    // The trigger is the action key, the hat the pad, the next button the chords' shift.
    SDL_JoystickSetVirtualButton(j, 0, 1);
    SDL_JoystickSetVirtualHat(j, 0, SDL_HAT_LEFT);
    Pump();
    EXPECT_TRUE(display_.IsVirtualKeyDown(kVkAction));
    // In the menu's orientation the screen's left is the device's up key.
    EXPECT_TRUE(display_.IsVirtualKeyDown(kVkUp));
    SDL_JoystickSetVirtualButton(j, 1, 1);
    Pump();
    FSEvent e;
    bool shift = false;
    while (display_.GetEvent(e))
        shift = shift || (e.type == FSEventType::HotKey && e.code == display_.HotKeyOfState(9));
    EXPECT_TRUE(shift);
}

TEST_F(StickReaderTest, AGameControllerSteersWithTheLeftStickAndTheTriggersAreTheLever) {
    SDL_Joystick* j = Attach(true, "Test Game Controller");
    ASSERT_TRUE(Stick().present);
    ASSERT_TRUE(Stick().gameController) << "a virtual game controller is opened as one";
    EXPECT_EQ(Stick().name, "Test Game Controller");

    struct Case {
        int leftX, leftY, rightX, leftTrigger, rightTrigger;
        float wantX, wantY, wantTwist, wantThrottle;
    };
    // A virtual trigger spans the whole raw range: let go is its bottom.
    constexpr int kLetGo = -32768;
    const Case cases[] = {
        {0, 0, 0, kLetGo, kLetGo, 0.0f, 0.0f, 0.0f, -1.0f},
        {-32768, 0, kFull, kLetGo, kFull, -1.0f, 0.0f, 1.0f, 1.0f},               // right trigger: full
        {0, kFull, 0, kFull, kLetGo, 0.0f, 1.0f, 0.0f, 0.0f},                     // left trigger: idle
        {Raw(0.575f), 0, Raw(-0.575f), kLetGo, kLetGo, 0.5f, 0.0f, -0.5f, 0.5f},  // both let go: half
    };
    for (const Case& c : cases) {
        SetAxes(j, {{SDL_CONTROLLER_AXIS_LEFTX, c.leftX},
                    {SDL_CONTROLLER_AXIS_LEFTY, c.leftY},
                    {SDL_CONTROLLER_AXIS_RIGHTX, c.rightX},
                    {SDL_CONTROLLER_AXIS_TRIGGERLEFT, c.leftTrigger},
                    {SDL_CONTROLLER_AXIS_TRIGGERRIGHT, c.rightTrigger}});
        const FSStick s = Stick();
        EXPECT_NEAR(s.x, c.wantX, 1e-3f) << c.leftX;
        EXPECT_NEAR(s.y, c.wantY, 1e-3f) << c.leftY;
        EXPECT_NEAR(s.twist, c.wantTwist, 1e-3f) << c.rightX;
        EXPECT_NEAR(s.throttle, c.wantThrottle, 1e-3f) << c.rightTrigger;
    }

    // Its buttons press as they always have: A the action key, B back, the shoulders the
    // buttons of change view and the instructor.
    SDL_JoystickSetVirtualButton(j, SDL_CONTROLLER_BUTTON_A, 1);
    SDL_JoystickSetVirtualButton(j, SDL_CONTROLLER_BUTTON_B, 1);
    Pump();
    EXPECT_TRUE(display_.IsVirtualKeyDown(kVkAction));
    FSEvent e;
    ASSERT_TRUE(display_.GetEvent(e));
    EXPECT_EQ(e.code, display_.BackHotKey());
    EXPECT_FALSE(display_.GetEvent(e)) << "the controller's raw joystick button is not a second press";
}

TEST_F(StickReaderTest, DevicesComeAndGoAndTheNewestStillThereIsUsed) {
    EXPECT_FALSE(Stick().present);
    EXPECT_EQ(Stick().name, "");
    SDL_Joystick* stick = Attach(false, "Stick A");
    SDL_Joystick* pad = Attach(true, "Pad B");
    struct Step {
        int detach;  // 0 none, 1 the stick, 2 the pad, 3 attach a stick again
        bool present;
        const char* name;
    };
    const Step steps[] = {
        {0, true, "Pad B"},    // the newest
        {2, true, "Stick A"},  // the pad unplugged: back to the stick
        {1, false, ""},        // nothing left
        {3, true, "Stick C"},  // plugged in again
    };
    for (const Step& s : steps) {
        if (s.detach == 1) Detach(stick);
        if (s.detach == 2) Detach(pad);
        if (s.detach == 3) Attach(false, "Stick C");
        EXPECT_EQ(Stick().present, s.present) << s.name;
        EXPECT_EQ(Stick().name, s.name);
        EXPECT_EQ(reader_->DeviceCount(), s.present ? 1 + (s.detach == 0) : 0);
    }
}

}  // namespace
