#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "common/ImageFiles.h"
#include "hud/FSFont.h"
#include "platform/FSDisplay.h"
#include "resources/FSArchive.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"

using namespace image_test_files;

namespace {

constexpr uint16_t kGold = 0xFE60;

// The inked extent of a buffer: pixels that differ from the background 0.
struct Ink {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1, count = 0;
};

Ink InkOf(const std::vector<uint16_t>& pixels, int width) {
    Ink ink;
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (pixels[i] == 0) continue;
        const int x = static_cast<int>(i) % width, y = static_cast<int>(i) / width;
        ink = {std::min(ink.x0, x), std::min(ink.y0, y), std::max(ink.x1, x), std::max(ink.y1, y),
               ink.count + 1};
    }
    return ink;
}

TEST(Font, MeasuresLinesWithSpacingBlanksAndLineFeeds) {
    CFSFont font;
    ASSERT_TRUE(font.LoadFont("listctrl_font", 9, -1, 0));
    const int a = font.TextWidth("A") + 1;  // glyph width without the spacing
    const int b = font.TextWidth("B") + 1;
    EXPECT_EQ(font.TextWidth("AB"), a + b - 2);
    EXPECT_EQ(font.TextWidth(""), 0);
    EXPECT_EQ(font.TextHeight(""), font.LineHeight());
    EXPECT_EQ(font.TextWidth("A B"), font.TextWidth("AB") + 9);
    // Control bytes and DEL measure nothing; a letter the font lacks (one byte above 127 or a
    // whole UTF-8 sequence) measures as the stand-in "?".
    EXPECT_EQ(font.TextWidth("A\tB\x7F"), font.TextWidth("AB"));
    for (const char* lacking : {"A\xE9", "A\xC3\xA9", "A\xE2\x82\xAC", "A\xFF"})
        EXPECT_EQ(font.TextWidth(lacking), font.TextWidth("A?")) << lacking;
    EXPECT_EQ(font.LineWidth("AB\nA", 1), font.TextWidth("A"));
    EXPECT_EQ(font.LineWidth("AB\nA", 5), 0);
    EXPECT_EQ(font.TextWidth("A\nAB\nB"), font.TextWidth("AB"));
    // A line feed at the end adds a line.
    EXPECT_EQ(font.TextHeight("A\n"), 2 * font.LineHeight());

    CFSFont links;
    ASSERT_TRUE(links.LoadFont("menu_links", 7, 0, -3));
    EXPECT_EQ(links.TextHeight("A\nB"), 2 * links.LineHeight() - 3);
}

TEST(Font, DrawsInItsColourRightJustifiedAndCentredPerLine) {
    CFSFont font;
    ASSERT_TRUE(font.LoadFont("main", 5, 1, 0));
    std::vector<uint16_t> screen(240 * 320, 0);
    DrawText(font, screen.data(), 0, 0, kJustifyRight, {235, 5}, kGold, "SCORE 120");
    const Ink ink = InkOf(screen, 240);
    ASSERT_GT(ink.count, 20);
    EXPECT_TRUE(ink.x1 <= 234 && ink.x1 >= 228) << ink.x1;
    EXPECT_TRUE(ink.y0 >= 5 && ink.y1 < 5 + font.LineHeight()) << ink.y0 << " to " << ink.y1;
    // A single-colour font draws its colour where the mask is full.
    EXPECT_NE(std::find(screen.begin(), screen.end(), kGold), screen.end());

    // Two centred lines: each is centred on its own width.
    std::fill(screen.begin(), screen.end(), 0);
    DrawText(font, screen.data(), 0, 0, kJustifyCentre, {120, 100}, 0xFFFF, "WWWWWW\n|");
    const auto split = screen.begin() + 240 * (100 + font.LineHeight());
    const Ink top = InkOf({screen.begin(), split}, 240), bottom = InkOf({split, screen.end()}, 240);
    EXPECT_NEAR((top.x0 + top.x1) / 2.0, 120.0, 2.0);
    EXPECT_NEAR((bottom.x0 + bottom.x1) / 2.0, 120.0, 2.0);
    EXPECT_LT(bottom.x1 - bottom.x0, 4);
}

TEST(Font, ALetterTheFontLacksDrawsTheStandInAndNothingElse) {
    CFSFont font;
    ASSERT_TRUE(font.LoadFont("main", 6, 1, 0));
    auto draw = [&](const std::string& text) {
        std::vector<uint16_t> screen(240 * 320, 0);
        DrawText(font, screen.data(), 0, 0, kJustifyLeft, {10, 10}, 0xFFFF, text);
        return screen;
    };
    const std::vector<uint16_t> expected = draw("Zo?");
    ASSERT_GT(InkOf(expected, 240).count, 0);
    for (const std::string lacking : {"Zo\xEB", "Zo\xC3\xAB", "Zo\xF0\x9F\x98\x80"})
        EXPECT_EQ(draw(lacking), expected) << lacking;
}

TEST(Font, TextForAnOrientationLooksUprightOnceTheScreenIsTurned) {
    CFSFont font;
    ASSERT_TRUE(font.LoadFont("game_font", 5, 1, 0));
    const std::string text = "TIME 2:05\nSCORE";
    for (int alignment : {1, 2}) {
        for (int justification : {kJustifyLeft, kJustifyCentre, kJustifyRight}) {
            // What the player should see: the text drawn plainly on a 320 x 240 picture ...
            std::vector<uint16_t> expected(320 * 240, 0);
            DrawTextRaw(font, expected.data(), 320, 240, 0, justification, {160, 40}, kGold, text,
                        FSClipRect{0, 0, 320, 240});
            // ... and what the device screen shows once turned upright.
            std::vector<uint16_t> device(240 * 320, 0), seen(320 * 240, 0);
            DrawText(font, device.data(), alignment, 0, justification, {160, 40}, kGold, text);
            platform::DeviceToPicture(alignment, device.data(), seen.data());
            EXPECT_EQ(seen, expected) << "alignment " << alignment << " justification " << justification;
            EXPECT_GT(InkOf(seen, 320).count, 100);
        }
    }
}

TEST(Font, NeverDrawsOutsideTheBufferOrTheClip) {
    CFSFont font;
    ASSERT_TRUE(font.LoadFont("game_font", 5, 1, 0));
    // Text hanging over every edge, in every direction (the sanitizer build checks that
    // the writes stay inside the buffer).
    std::vector<uint16_t> inner(60 * 40, 0);
    for (int direction = 0; direction < 6; ++direction) {
        for (FSPoint p : {FSPoint{-20, -8}, FSPoint{40, 30}, FSPoint{-5, 20}, FSPoint{50, -10}}) {
            DrawTextRaw(font, inner.data(), 60, 40, direction, kJustifyLeft, p, 0xFFFF, "WIDE TEXT\nHERE",
                        FSClipRect{0, 0, 60, 40});
        }
    }
    EXPECT_GT(InkOf(inner, 60).count, 0);

    std::vector<uint16_t> screen(240 * 320, 0), seen(320 * 240, 0);
    DrawTextClipped(font, screen.data(), 2, 0, kJustifyLeft, {100, 50}, 0xFFFF, "CLIPPED TEXT",
                    FSClipRect{110, 55, 150, 65});
    platform::DeviceToPicture(2, screen.data(), seen.data());
    const Ink ink = InkOf(seen, 320);
    ASSERT_GT(ink.count, 0);
    EXPECT_TRUE(ink.x0 >= 110 && ink.x1 < 150 && ink.y0 >= 55 && ink.y1 < 65)
        << ink.x0 << "," << ink.y0 << " to " << ink.x1 << "," << ink.y1;
    // An unknown orientation or direction, or an empty text, draws nothing.
    std::fill(screen.begin(), screen.end(), 0);
    DrawText(font, screen.data(), 3, 0, 0, {10, 10}, 0xFFFF, "X");
    DrawText(font, screen.data(), 0, 6, 0, {10, 10}, 0xFFFF, "X");
    DrawText(font, screen.data(), 0, 0, 0, {10, 10}, 0xFFFF, "");
    DrawTextF(font, screen.data(), 0, 0, 0, {10, 10}, 0xFFFF, "%s", "");
    EXPECT_EQ(InkOf(screen, 240).count, 0);
}

TEST(Font, RefusesLettersBeyondTheStripOrOutOfOrderAndWithoutItsMaskDrawsNothing) {
    // Font folders made here, zipped with Info-ZIP under the game's password: a 20 x 8
    // strip with one inked column per 5 pixels.
    const std::string folder = testing_support::MakeTempFolder("fonts");
    std::vector<uint8_t> alpha(20 * 8, 0);
    for (int k = 0; k < 4 * 6; ++k)
        alpha[(1 + k / 4) * 20 + (k % 4) * 5 + 1] = 255;
    const std::vector<uint8_t> mask = EncodeMaskBmp(alpha, 20, 8);
    for (const auto& [name, text] : std::vector<std::pair<std::string, std::string>>{
             {"good/mask.bmp", std::string(mask.begin(), mask.end())},
             {"wide/mask.bmp", std::string(mask.begin(), mask.end())},
             {"nomask/config.txt", "letters 0 5 10\r\n"},
             {"good/config.txt", "mask mask.bmp\r\nletters 0 5 10 15 20\r\n"},
             {"wide/config.txt", "mask mask.bmp\nletters 0 5 10 15 40\n"},
             {"backwards/config.txt", "mask ../good/mask.bmp\nletters 0 10 5 20\n"},
             {"empty/config.txt", "mask mask.bmp\r\nletters\r\n"}}) {
        std::filesystem::create_directories(std::filesystem::path(folder + name).parent_path());
        ASSERT_TRUE(WriteText(folder + name, text));
    }
    const std::string archive = folder + "fonts.zip";
    ASSERT_TRUE(
        Zip(folder, "-r -P " + ShellQuote(DataPassword()), archive, "good wide nomask backwards empty"));

    CFSFont font;
    ASSERT_TRUE(font.LoadFontFrom(archive, "good", 3, 1, 0));
    EXPECT_EQ(font.GlyphCount(), 4);  // five values: four glyphs, "!" to "$"
    EXPECT_EQ(font.TextWidth("!$"), 12);
    EXPECT_EQ(font.TextWidth("%"), 0);  // beyond the glyphs: nothing
    for (const char* bad : {"wide", "backwards", "empty", "missing"})
        EXPECT_FALSE(font.LoadFontFrom(archive, bad, 3, 1, 0)) << bad;

    // Without its mask a font measures but draws nothing.
    ASSERT_TRUE(font.LoadFontFrom(archive, "nomask", 3, 1, 0));
    EXPECT_FALSE(font.CanDraw());
    EXPECT_EQ(font.TextWidth("!\""), 12);
    std::vector<uint16_t> screen(240 * 320, 0);
    DrawText(font, screen.data(), 0, 0, 0, {10, 10}, 0xFFFF, "!!");
    EXPECT_EQ(InkOf(screen, 240).count, 0);
    RemoveTempFolder(folder);
}

}  // namespace
