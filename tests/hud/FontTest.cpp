#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/ImageFiles.h"
#include "hud/FSFont.h"
#include "platform/FSDisplay.h"
#include "resources/FSArchive.h"
#include "resources/FSDataPassword.h"
#include "support/TestSupport.h"

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
        ink.x0 = std::min(ink.x0, x);
        ink.y0 = std::min(ink.y0, y);
        ink.x1 = std::max(ink.x1, x);
        ink.y1 = std::max(ink.y1, y);
        ++ink.count;
    }
    return ink;
}

TEST(Font, TheGamesFiveFontsLoadWithTheirSpacing) {
    struct Named {
        const char* folder;
        int space, spacing, lineSpacing;
    };
    for (const Named& n :
         {Named{"game_font", 5, 1, 0}, Named{"main", 5, 1, 0}, Named{"listctrl_font", 9, -1, 0},
          Named{"scores_font", 7, -1, 0}, Named{"menu_links", 7, 0, -3}}) {
        CFSFont font;
        ASSERT_TRUE(font.LoadFont(n.folder, n.space, n.spacing, n.lineSpacing)) << n.folder;
        EXPECT_TRUE(font.CanDraw()) << n.folder;
        EXPECT_EQ(font.GlyphCount(), 94) << n.folder;
        EXPECT_GE(font.LineHeight(), 10) << n.folder;
        EXPECT_LE(font.LineHeight(), 30) << n.folder;
    }
    CFSFont gameFont;
    ASSERT_TRUE(gameFont.LoadFont("game_font", 5, 1, 0));
    EXPECT_TRUE(gameFont.HasSource());  // gold letters with an outline
    CFSFont missing;
    EXPECT_FALSE(missing.LoadFont("no_such_font", 5, 1, 0));
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
    // Control bytes and bytes above 126 measure nothing.
    EXPECT_EQ(font.TextWidth("A\tB\x7F\xE9"), font.TextWidth("AB"));
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
    Ink ink = InkOf(screen, 240);
    ASSERT_GT(ink.count, 20);
    EXPECT_LE(ink.x1, 234);
    EXPECT_GE(ink.x1, 228);
    EXPECT_GE(ink.y0, 5);
    EXPECT_LT(ink.y1, 5 + font.LineHeight());
    // A single-colour font draws its colour where the mask is full.
    EXPECT_NE(std::find(screen.begin(), screen.end(), kGold), screen.end());

    // Two centred lines: each is centred on its own width.
    std::fill(screen.begin(), screen.end(), 0);
    DrawText(font, screen.data(), 0, 0, kJustifyCentre, {120, 100}, 0xFFFF, "WWWWWW\n|");
    const int lineHeight = font.LineHeight();
    std::vector<uint16_t> first(screen.begin(), screen.begin() + 240 * (100 + lineHeight));
    std::vector<uint16_t> second(screen.begin() + 240 * (100 + lineHeight), screen.end());
    const Ink top = InkOf(first, 240), bottom = InkOf(second, 240);
    EXPECT_NEAR((top.x0 + top.x1) / 2.0, 120.0, 2.0);
    EXPECT_NEAR((bottom.x0 + bottom.x1) / 2.0, 120.0, 2.0);
    EXPECT_LT(bottom.x1 - bottom.x0, 4);

    // An empty text draws nothing.
    std::fill(screen.begin(), screen.end(), 0);
    DrawText(font, screen.data(), 0, 0, 0, {10, 10}, 0xFFFF, "");
    DrawTextF(font, screen.data(), 0, 0, 0, {10, 10}, 0xFFFF, "%s", "");
    EXPECT_EQ(InkOf(screen, 240).count, 0);
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
            std::vector<uint16_t> device(240 * 320, 0);
            DrawText(font, device.data(), alignment, 0, justification, {160, 40}, kGold, text);
            std::vector<uint16_t> seen(320 * 240, 0);
            platform::DeviceToPicture(alignment, device.data(), seen.data());
            EXPECT_EQ(seen, expected) << "alignment " << alignment << " justification " << justification;
            EXPECT_GT(InkOf(seen, 320).count, 100);
        }
    }
}

TEST(Font, NeverDrawsOutsideTheBufferOrTheClip) {
    CFSFont font;
    ASSERT_TRUE(font.LoadFont("game_font", 5, 1, 0));
    // Text hanging over every edge, in every direction: the sanitizer build checks the
    // writes stay inside; a frame around the buffer checks the same without it.
    const int w = 60, h = 40, margin = 16;
    std::vector<uint16_t> framed((w + 2 * margin) * (h + 2 * margin), 0);
    std::vector<uint16_t> inner(w * h, 0);
    for (int direction = 0; direction < 6; ++direction) {
        for (FSPoint p : {FSPoint{-20, -8}, FSPoint{40, 30}, FSPoint{-5, 20}, FSPoint{50, -10}}) {
            DrawTextRaw(font, inner.data(), w, h, direction, kJustifyLeft, p, 0xFFFF, "WIDE TEXT\nHERE",
                        FSClipRect{0, 0, w, h});
        }
    }
    EXPECT_GT(InkOf(inner, w).count, 0);

    std::vector<uint16_t> screen(240 * 320, 0);
    DrawTextClipped(font, screen.data(), 2, 0, kJustifyLeft, {100, 50}, 0xFFFF, "CLIPPED TEXT",
                    FSClipRect{110, 55, 150, 65});
    std::vector<uint16_t> seen(320 * 240, 0);
    platform::DeviceToPicture(2, screen.data(), seen.data());
    const Ink ink = InkOf(seen, 320);
    ASSERT_GT(ink.count, 0);
    EXPECT_GE(ink.x0, 110);
    EXPECT_LT(ink.x1, 150);
    EXPECT_GE(ink.y0, 55);
    EXPECT_LT(ink.y1, 65);
    // An unknown orientation or direction draws nothing.
    std::fill(screen.begin(), screen.end(), 0);
    DrawText(font, screen.data(), 3, 0, 0, {10, 10}, 0xFFFF, "X");
    DrawText(font, screen.data(), 0, 6, 0, {10, 10}, 0xFFFF, "X");
    EXPECT_EQ(InkOf(screen, 240).count, 0);
}

// Font folders made here, zipped with Info-ZIP under the game's password.
class BadFontTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = testing_support::MakeTempFolder("fonts");
        // A 20 x 8 strip with one inked column per 5 pixels.
        std::vector<uint8_t> alpha(20 * 8, 0);
        for (int y = 1; y < 7; ++y) {
            for (int x = 0; x < 20; x += 5)
                alpha[y * 20 + x + 1] = 255;
        }
        Write("good/mask.bmp", EncodeMaskBmp(alpha, 20, 8));
        Write("wide/mask.bmp", EncodeMaskBmp(alpha, 20, 8));
        Write("nomask/config.txt", "letters 0 5 10\r\n");
        Write("good/config.txt", "mask mask.bmp\r\nletters 0 5 10 15 20\r\n");
        Write("wide/config.txt", "mask mask.bmp\nletters 0 5 10 15 40\n");
        Write("backwards/config.txt", "mask ../good/mask.bmp\nletters 0 10 5 20\n");
        Write("empty/config.txt", "mask mask.bmp\r\nletters\r\n");
        char password[32] = {};
        UnscrambleDataPassword(password);
        archive_ = folder_ + "fonts.zip";
        const std::string command = "cd " + folder_ + " && zip -q -r -P '" + password +
                                    "' fonts.zip good wide nomask backwards empty";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }

    void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        const std::string path = folder_ + name;
        std::system(("mkdir -p \"$(dirname '" + path + "')\"").c_str());
        ASSERT_TRUE(WriteFile(path, bytes));
    }
    void Write(const std::string& name, const std::string& text) {
        Write(name, std::vector<uint8_t>(text.begin(), text.end()));
    }

    std::string folder_;
    std::string archive_;
};

TEST_F(BadFontTest, RefusesLettersBeyondTheStripOrOutOfOrder) {
    CFSFont font;
    ASSERT_TRUE(font.LoadFontFrom(archive_, "good", 3, 1, 0));
    EXPECT_EQ(font.GlyphCount(), 4);  // five values: four glyphs, "!" to "$"
    EXPECT_EQ(font.TextWidth("!$"), 12);
    EXPECT_EQ(font.TextWidth("%"), 0);  // beyond the glyphs: nothing
    EXPECT_FALSE(font.LoadFontFrom(archive_, "wide", 3, 1, 0));
    EXPECT_FALSE(font.LoadFontFrom(archive_, "backwards", 3, 1, 0));
    EXPECT_FALSE(font.LoadFontFrom(archive_, "empty", 3, 1, 0));
    EXPECT_FALSE(font.LoadFontFrom(archive_, "missing", 3, 1, 0));
}

TEST_F(BadFontTest, AFontWithoutItsMaskMeasuresButDrawsNothing) {
    CFSFont font;
    ASSERT_TRUE(font.LoadFontFrom(archive_, "nomask", 3, 1, 0));
    EXPECT_FALSE(font.CanDraw());
    EXPECT_EQ(font.TextWidth("!\""), 12);
    std::vector<uint16_t> screen(240 * 320, 0);
    DrawText(font, screen.data(), 0, 0, 0, {10, 10}, 0xFFFF, "!!");
    EXPECT_EQ(InkOf(screen, 240).count, 0);
}

}  // namespace
