// The controls screen names the device that steers, and follows it as it is plugged in and
// out while the screen is open (AEROVANT_MENU_PREVIEW=<folder> writes the pictures).
#include <gtest/gtest.h>

#include <cstdlib>

#include "common/ImageFiles.h"
#include "menu/CSPMenu.h"
#include "support/HeadlessTestGame.h"

TEST(ControlsDevice, TheScreenNamesTheDeviceInUseAndFollowsItComingAndGoing) {
    testing_support::HeadlessTestGame game;
    ASSERT_EQ(game.Start(), 0);
    game.menu->SwitchScreen(13, 0);
    game.Pass(2);
    std::vector<uint16_t> previous = game.Picture();
    const std::vector<uint16_t> keyboard = previous;
    for (const char* name : {"Xbox 360 Controller", ""}) {
        FSStick stick;
        stick.present = *name != 0, stick.gameController = true, stick.name = name;
        game.display.SetStick(stick);
        game.Pass(2);
        const std::vector<uint16_t> picture = game.Picture();
        // Only the line under the title (rows 26-39 of the 320 x 240 picture) changes.
        int inside = 0, outside = 0;
        for (size_t i = 0; i < picture.size(); ++i)
            (i / 320 >= 26 && i / 320 <= 39 ? inside : outside) += picture[i] != previous[i];
        EXPECT_GT(inside, 20) << name;
        EXPECT_EQ(outside, 0) << name;
        if (const char* folder = std::getenv("AEROVANT_MENU_PREVIEW"))
            WriteFile(std::string(folder) + "/controls-" + (*name ? name : "keyboard") + ".png",
                      EncodePng(CanvasFrom565(picture.data(), 320, 240), false));
        previous = picture;
    }
    EXPECT_EQ(previous, keyboard) << "unplugged, the keyboard line again";
}
