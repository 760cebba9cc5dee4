#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/FSScreenshot.h"
#include "platform/FSDisplay.h"
#include "platform/FSPaths.h"
#include "resources/FSPng.h"
#include "support/HeadlessTestGame.h"

using testing_support::HeadlessTestGame;
using testing_support::MakeTempFolder;

namespace {

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The desktop's pictures folder points into a fresh home for as long as it lives.
struct PicturesHome {
    std::string home = MakeTempFolder("home");
    std::string saved = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    PicturesHome() {
        platform::MakeFolders(home + "config");
        std::ofstream(home + "config/user-dirs.dirs") << "XDG_PICTURES_DIR=\"" << home << "Pictures\"\n";
        setenv("XDG_CONFIG_HOME", (home + "config").c_str(), 1);
    }
    ~PicturesHome() {
        if (saved.empty()) {
            unsetenv("XDG_CONFIG_HOME");
        } else {
            setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
        }
    }
};

}  // namespace

TEST(Screenshot, WritesTheUprightPictureAtTheWindowsScaleUnderANewName) {
    CFSNullDisplay display;
    std::string why;
    EXPECT_EQ(SaveScreenshot(display, MakeTempFolder("shots"), 0, why), "");
    EXPECT_FALSE(why.empty());

    // A frame with one marked device pixel, shown landscape at 3x.
    display.SetOrientation(2);
    display.SetWindowState(false, 3);
    uint16_t* frame = display.BeginDraw();
    std::fill_n(frame, MFSDisplay::kPixels, uint16_t{0});
    frame[239] = 0xF800;  // device (239, 0): picture (0, 0) in orientation 2
    display.EndDraw();
    const std::string folder = MakeTempFolder("shots") + "deeper/Aerovant/";
    const std::string first = SaveScreenshot(display, folder, 86400, why);
    const std::string second = SaveScreenshot(display, folder, 86400, why);
    ASSERT_NE(first, "") << why;
    EXPECT_NE(first.find("/aerovant-1970010"), std::string::npos) << first;
    EXPECT_EQ(second, first.substr(0, first.size() - 4) + "-2.png");

    const std::string bytes = FileText(first);
    FSPngImage image;
    ASSERT_TRUE(DecodePng(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), image));
    EXPECT_EQ(image.width, 960);
    EXPECT_EQ(image.height, 720);
    // Rows come last first: the top-left 3 x 3 block is red, the pixel beside it black.
    const auto red = [&](int x, int y) {
        return image.pixels[((image.height - 1 - y) * image.width + x) * image.channels];
    };
    EXPECT_EQ(red(0, 0), 255);
    EXPECT_EQ(red(2, 2), 255);
    EXPECT_EQ(red(3, 0), 0);

    // A folder that cannot be made gives the reason.
    const std::string blocked = MakeTempFolder("shots") + "file";
    std::ofstream(blocked) << "x";
    EXPECT_EQ(SaveScreenshot(display, blocked + "/Aerovant/", 0, why), "");
    EXPECT_NE(why.find("cannot make"), std::string::npos) << why;
}

TEST(Screenshot, F12InTheGameSavesAPictureAndSaysWhereAndTheWindowStateIsKept) {
    PicturesHome home;
    HeadlessTestGame game;
    ASSERT_EQ(game.Start(), 0);
    FSEvent shot;
    shot.type = FSEventType::Screenshot;
    game.display.PostEvent(shot);
    game.Pass();
    struct stat info;
    EXPECT_EQ(stat((home.home + "Pictures/Aerovant").c_str(), &info), 0);
    // The notice is over the picture for a few seconds, then gone.
    EXPECT_TRUE(game.display.HasOverlay());
    game.Pass(60 * 3 + 5);
    EXPECT_FALSE(game.display.HasOverlay());

    // Turning the window to full screen and back is written to the settings at once.
    const std::string settings = platform::PlayerFolder() + "settings.bin";
    game.display.SetWindowState(true, 3);
    game.Pass();
    EXPECT_NE(FileText(settings).find("full_screen\t\t1\r\n"), std::string::npos);
    game.display.SetWindowState(false, 2);
    game.Pass();
    EXPECT_NE(FileText(settings).find("full_screen\t\t0\r\n"), std::string::npos);
}
