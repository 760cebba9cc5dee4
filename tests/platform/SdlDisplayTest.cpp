#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>

#include <SDL.h>

#include "platform/FSSdlDisplay.h"
#include "platform/FSWindowIcon.h"

namespace {

// SDL's dummy video driver makes a window that shows nothing, so the real display's
// window thread runs in tests without an X server.
TEST(SdlDisplay, TakesFramesFromAnyThreadAndClosesCleanly) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    std::string why;
    std::unique_ptr<CFSSdlDisplay> display = CFSSdlDisplay::Open(2, why);
    ASSERT_NE(display, nullptr) << why;
    EXPECT_TRUE(display->HasFocus());

    // The loading screen draws from its own thread while the main thread draws too.
    std::thread loader([&display] {
        for (int i = 0; i < 50; ++i) {
            uint16_t* frame = display->BeginDraw();
            frame[0] = 0x1111;
            display->EndDraw();
        }
    });
    for (int i = 0; i < 50; ++i) {
        display->SetOrientation(i % 3);
        uint16_t* frame = display->BeginDraw();
        frame[1] = 0x2222;
        display->EndDraw();
    }
    loader.join();
    EXPECT_EQ(display->FrameCount(), 100u);
    const std::vector<uint16_t> last = display->LastFrame();
    EXPECT_EQ(last[0], 0x1111);
    EXPECT_EQ(last[1], 0x2222);
    display.reset();  // joins the window thread

    // A second window after the first is gone.
    display = CFSSdlDisplay::Open(1, why);
    ASSERT_NE(display, nullptr) << why;
}

// The window's icon is the game's: a rounded tile (its corners clear) of dusk sky, dark
// blue above and warm near the hills, with the aircraft across its middle.
TEST(SdlDisplay, TheWindowIconIsTheGamesRoundedDuskTile) {
    ASSERT_EQ(kWindowIconSide, 64);
    auto at = [](int x, int y, int channel) {
        return int(kWindowIconPixels[(y * kWindowIconSide + x) * 4 + channel]);
    };
    for (const auto& [x, y] : {std::pair{0, 0}, {63, 0}, {0, 63}, {63, 63}})
        EXPECT_EQ(at(x, y, 3), 0) << x << "," << y;
    const struct {
        int x, y;
        bool blue;  // blue over red, else red over blue
    } kPoints[] = {{14, 6, true}, {30, 40, true}, {6, 47, false}};
    for (const auto& p : kPoints) {
        SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
        EXPECT_EQ(at(p.x, p.y, 3), 255);
        EXPECT_EQ(at(p.x, p.y, 2) > at(p.x, p.y, 0), p.blue);
    }
}

// The window's own event loop finds a flight stick plugged in while it runs, and lets go
// of it when it is unplugged.
TEST(SdlDisplay, SeesAStickPluggedInAndOut) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    std::string why;
    std::unique_ptr<CFSSdlDisplay> display = CFSSdlDisplay::Open(1, why);
    ASSERT_NE(display, nullptr) << why;
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_FLIGHT_STICK, 4, 4, 1);
    for (const bool present : {true, false}) {
        if (!present) SDL_JoystickDetachVirtual(index);
        SDL_Event wake{};
        wake.type = SDL_USEREVENT;  // the window thread pumps the devices as it wakes
        for (int i = 0; i < 200 && display->Stick().present != present; ++i, SDL_PushEvent(&wake))
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_EQ(display->Stick().present, present);
    }
}

}  // namespace
