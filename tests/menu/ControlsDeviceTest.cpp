// The controls screen names the device that steers, and follows it as it is plugged in and
// out while the screen is open.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "common/ImageFiles.h"
#include "menu/CSPMenu.h"
#include "support/HeadlessTestGame.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

// Pixels that differ between two pictures inside rows top..bottom, and outside them.
void CountChanges(const std::vector<uint16_t>& a, const std::vector<uint16_t>& b, int top, int bottom,
                  int& inside, int& outside) {
    inside = outside = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const size_t i = static_cast<size_t>(y * kWidth + x);
            if (a[i] == b[i]) continue;
            (y >= top && y <= bottom ? inside : outside) += 1;
        }
}

TEST(ControlsDevice, TheScreenNamesTheDeviceInUseAndFollowsItComingAndGoing) {
    testing_support::HeadlessTestGame game;
    ASSERT_EQ(game.Start(), 0);
    game.menu->SwitchScreen(13, 0);
    game.Pass(2);
    const std::vector<uint16_t> keyboard = game.Picture();
    ASSERT_EQ(game.PictureWidth(), kWidth);

    struct Step {
        bool present, controller;
        const char* name;
    };
    const Step steps[] = {
        {true, true, "Xbox 360 Controller"}, {true, false, "Logitech Extreme 3D"}, {false, false, ""}};
    std::vector<uint16_t> previous = keyboard;
    for (const Step& s : steps) {
        FSStick stick;
        stick.present = s.present;
        stick.gameController = s.controller;
        stick.name = s.name;
        game.display.SetStick(stick);
        game.Pass(2);
        const std::vector<uint16_t> picture = game.Picture();
        int inside = 0;
        int outside = 0;
        // Only the line under the title changes.
        CountChanges(previous, picture, 26, 39, inside, outside);
        EXPECT_GT(inside, 20) << s.name;
        EXPECT_EQ(outside, 0) << s.name;
        if (const char* preview = std::getenv("AEROVANT_MENU_PREVIEW"))
            WriteFile(std::string(preview) + "/controls-" + (s.present ? s.name : "keyboard") + ".png",
                      EncodePng(CanvasFrom565(picture.data(), kWidth, kHeight), false));
        previous = picture;
    }
    EXPECT_EQ(previous, keyboard) << "unplugged, the keyboard line again";
}

}  // namespace
