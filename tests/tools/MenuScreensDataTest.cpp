// The menu screens' backgrounds in menu.zip as the screens draw on them: every screen's
// picture whole at 320 x 240, light text in each label the screen taps, nothing in the way
// of the pointer or the title buttons, and dark panels where the screen writes in white;
// the greyed "Resume" patch and the key list's selection bar; the help text in help.zip.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "databuild/MenuScreenDesigns.h"
#include "hud/FSFont.h"
#include "resources/FSArchive.h"
#include "resources/FSBitmap.h"

namespace {

using menu_screens::Rect;

const std::string kMenu = MakeDataPath("data/menu.zip");

int Luma(uint16_t c) {
    const int r = (c >> 11) * 255 / 31, g = ((c >> 5) & 63) * 255 / 63, b = (c & 31) * 255 / 31;
    return (299 * r + 587 * g + 114 * b) / 1000;
}

struct Lumas {
    int count = 0, light = 0, brightest = 0;
    double mean = 0;
};

// Lumas of the pixels of r (inclusive), light meaning text-white.
Lumas Measure(const FSBitmap& b, const Rect& r) {
    Lumas out;
    for (int y = r.top; y <= r.bottom; ++y)
        for (int x = r.left; x <= r.right; ++x) {
            const int l = Luma(b.Pixels()[y * b.Stride() + x]);
            ++out.count;
            out.light += l > 170;
            out.brightest = std::max(out.brightest, l);
            out.mean += l;
        }
    out.mean /= std::max(out.count, 1);
    return out;
}

TEST(MenuScreensData, EveryBackgroundIsWholeWithLabelsInItsRectanglesAndDarkPanels) {
    const char* const screens[] = {
        "states/state_main/main.bmp",
        "states/state_route_info/route_selection.bmp",
        "states/state_route_parameters/route_parameters.bmp",
        "states/state_plane/plane.bmp",
        "states/state_scores/scores.bmp",
        "states/state_profiles/profiles.bmp",
        "states/state_settings/settings.bmp",
        "states/state_audio/audio.bmp",
        "states/state_video/video.bmp",
        "states/state_video/advanced_video.bmp",
        "states/state_controls/controls.bmp",
        "states/state_game/game.bmp",
        "states/state_about/about.bmp",
        "states/state_help/help.bmp",
    };
    for (const char* name : screens) {
        const FSBitmapHandle b = LoadBitmap(kMenu, name);
        ASSERT_TRUE(b) << name;
        EXPECT_EQ(std::vector<int>({b->bitsPerPixel, b->width, b->height}), std::vector<int>({16, 320, 240}))
            << name;
        // The title buttons (up to three, 24 pixels apart) land on a plain dark corner.
        EXPECT_LT(Measure(*b, {248, 3, 319, 21}).brightest, 70) << name;
    }
    ASSERT_EQ(menu_screens::ScreenDesigns().size(), std::size(screens));
    for (const auto& design : menu_screens::ScreenDesigns()) {
        SCOPED_TRACE(design.path);
        const FSBitmapHandle b = LoadBitmap(kMenu, design.path);
        ASSERT_TRUE(b);
        for (const auto& label : design.labels) {
            // Ink: light text over a fair part of the label, not in the band about it.
            Rect r = label.box;
            if (label.headingHeight > 0) r.bottom = r.top + label.headingHeight - 1;
            const Lumas in = Measure(*b, r);
            EXPECT_GT(in.light, in.count / 25) << label.text;
            EXPECT_EQ(Measure(*b, {r.left, r.top - 5, r.right, r.top - 4}).light, 0) << label.text;
        }
        for (size_t k = 0; k < design.pointerXs.size(); ++k) {
            const int x = design.pointerXs[k], y = design.pointerYs[k];
            EXPECT_EQ(Measure(*b, {x, y, x + 12, y + 12}).light, 0) << "pointer " << k;
        }
        for (const auto& panel : design.panels) {
            const Lumas in = Measure(*b, panel.box);
            EXPECT_LT(in.brightest, 40) << panel.box.left << ", " << panel.box.top;
        }
    }
    // The screens' own points, as they tap them: the main menu's first item, the help box.
    const FSBitmapHandle main = LoadBitmap(kMenu, "states/state_main/main.bmp");
    const FSBitmapHandle help = LoadBitmap(kMenu, "states/state_help/help.bmp");
    ASSERT_TRUE(main && help);
    EXPECT_GT(Measure(*main, {195, 78, 278, 89}).light, 20);
    EXPECT_LT(Measure(*help, {10, 40, 310, 230}).brightest, 40);
}

TEST(MenuScreensData, GreyedResumeFitsOverTheMainMenuAndTheSelectBarCarriesWhiteText) {
    const FSBitmapHandle main = LoadBitmap(kMenu, "states/state_main/main.bmp");
    const FSBitmapHandle resume = LoadBitmap(kMenu, "states/state_main/resume.bmp");
    const FSBitmapHandle bar = LoadBitmap(kMenu, "states/state_controls/controls_select_bar.bmp");
    ASSERT_TRUE(main && resume && bar);
    EXPECT_EQ(std::vector<int>({resume->bitsPerPixel, resume->width, resume->height}),
              std::vector<int>({16, 68, 18}));
    EXPECT_EQ(std::vector<int>({bar->bitsPerPixel, bar->width, bar->height}),
              std::vector<int>({16, menu_screens::kSelectBarWidth, 15}));
    // Copied at (194, 96) it matches the sky round the label and dims the word.
    int seamDifferences = 0;
    for (int x = 0; x < 68; ++x)
        for (int y : {0, 17})
            seamDifferences += resume->Pixels()[y * resume->Stride() + x] !=
                               main->Pixels()[(96 + y) * main->Stride() + 194 + x];
    EXPECT_EQ(seamDifferences, 0);
    const Lumas greyed = Measure(*resume, {1, 1, 60, 11}), lit = Measure(*main, {195, 97, 254, 107});
    EXPECT_GT(greyed.mean, 0.0);
    EXPECT_LT(greyed.brightest, 160);
    EXPECT_GT(lit.brightest, 200);
    // Mid-dark under the white key names; the list is 274 wide with its scroll bar.
    const Lumas behind = Measure(*bar, {10, 1, bar->width - 1, 13});
    EXPECT_GT(behind.mean, 30.0);
    EXPECT_LT(behind.brightest, 120);
    EXPECT_LE(bar->width, 300 - 26);
}

TEST(MenuScreensData, HelpTextIsPlainAsciiInLinesThatFitTheHelpBox) {
    const FSMemoryBlock block = ReadArchiveText(MakeDataPath("data/help.zip"), "help.txt");
    ASSERT_TRUE(block);
    const std::string text(block.Text(), block.size);
    CFSFont font;
    ASSERT_TRUE(font.LoadFontFrom(MakeDataPath("data/fonts.zip"), "main", 6, 1, 0));
    // The box is 300 wide with margins of 5 and a standing scroll bar of 13.
    const int room = 300 - 2 * 5 - 13;
    std::istringstream lines(text);
    std::string line;
    int count = 0;
    while (std::getline(lines, line)) {
        ++count;
        for (char c : line)
            EXPECT_TRUE(c >= 32 && c < 127) << "line " << count << ": " << line;
        EXPECT_LE(font.TextWidth(line), room) << "line " << count << ": " << line;
    }
    EXPECT_GT(count, 60);
    for (const char* topic :
         {"KEYBOARD", "CONTROLLER", "VIEWS", "GATES", "LANDING", "INSTRUCTOR", "AUTOPILOT"})
        EXPECT_NE(text.find(topic), std::string::npos) << topic;
}

}  // namespace
