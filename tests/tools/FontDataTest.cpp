// The fonts of fonts.zip as the game reads them: "config.txt" through the keyword reader,
// the strips through the bitmap loader (top row first).
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "resources/FSBitmap.h"
#include "resources/FSKeywordReader.h"
#include "tools/ArchiveTestSupport.h"

namespace {

using namespace archive_test;

const std::string kFonts = MakeDataPath("data\\fonts.zip");

struct FontConfig {
    std::string mask, src;
    std::vector<int> letters;
};

FontConfig ReadConfig(const std::string& text) {
    FontConfig config;
    ForEachTokenLine(text, [&config](const std::vector<std::string>& tokens) {
        if (IsKeywordLine(tokens, "mask", 2)) config.mask = tokens[1];
        if (IsKeywordLine(tokens, "src", 2)) config.src = tokens[1];
        if (tokens[0] == "letters") {
            for (size_t i = 1; i < tokens.size(); ++i)
                config.letters.push_back(ToInt(tokens[i]));
        }
    });
    return config;
}

uint8_t MaskAt(const FSBitmap& mask, int x, int y) {
    return mask.Bytes()[y * mask.rowBytes + x];
}

struct FontExpectation {
    const char* folder;
    int minHeight, maxHeight;  // line height in pixels
    bool coloured;
};

// Sizes that read well on the 240 x 320 screen: running text about 11-13 pixels, the
// flight read-out larger.
const FontExpectation kExpected[] = {
    {"game_font", 17, 26, true},    {"main", 11, 16, false},       {"listctrl_font", 11, 17, false},
    {"scores_font", 11, 17, false}, {"menu_links", 11, 17, false},
};

TEST(FontData, EachFontHasAConsistentStripOfTheCharacters33To126) {
    for (const FontExpectation& expected : kExpected) {
        SCOPED_TRACE(expected.folder);
        const std::string folder = std::string(expected.folder) + "/";
        const std::string text = MemberText(kFonts, folder + "config.txt");
        EXPECT_TRUE(std::regex_match(text, std::regex("([^\r\n]*\r\n)+"))) << "CR LF line ends";
        const FontConfig config = ReadConfig(text);
        // 94 characters: the start of each and the end of the last.
        ASSERT_EQ(config.letters.size(), 95u);
        EXPECT_EQ(config.letters.front(), 0);
        for (size_t i = 0; i + 1 < config.letters.size(); ++i)
            EXPECT_LT(config.letters[i], config.letters[i + 1]) << i;

        ASSERT_FALSE(config.mask.empty());
        const FSBitmapHandle mask = LoadBitmap(kFonts, folder + config.mask);
        ASSERT_TRUE(mask);
        EXPECT_EQ(mask->bitsPerPixel, 8);
        // Every glyph lies inside the strip, and the strip holds nothing but glyphs.
        EXPECT_EQ(mask->width, config.letters.back());
        EXPECT_GE(mask->height, expected.minHeight);
        EXPECT_LE(mask->height, expected.maxHeight);

        // Each character has ink in its own columns, and ink from the top row to the bottom
        // row is used by some character (no wasted line height).
        bool topUsed = false, bottomUsed = false;
        for (int c = 0; c < 94; ++c) {
            int ink = 0;
            for (int x = config.letters[c]; x < config.letters[c + 1]; ++x) {
                for (int y = 0; y < mask->height; ++y) {
                    if (MaskAt(*mask, x, y) == 0) continue;
                    ++ink;
                    topUsed |= y == 0;
                    bottomUsed |= y == mask->height - 1;
                }
            }
            EXPECT_GT(ink, 0) << "character " << static_cast<char>(33 + c);
        }
        EXPECT_TRUE(topUsed);
        EXPECT_TRUE(bottomUsed);
        auto width = [&config](char c) { return config.letters[c - 33 + 1] - config.letters[c - 33]; };
        EXPECT_LT(width('i'), width('W'));
        EXPECT_LT(width('.'), width('M'));

        if (!expected.coloured) {
            EXPECT_TRUE(config.src.empty());
            EXPECT_TRUE(MemberBytes(kFonts, folder + "font.bmp").empty());
            continue;
        }
        ASSERT_EQ(config.src, "font.bmp");
        const FSBitmapHandle colour = LoadBitmap(kFonts, folder + "font.bmp");
        ASSERT_TRUE(colour);
        EXPECT_EQ(colour->bitsPerPixel, 16);
        EXPECT_EQ(colour->width, mask->width);
        EXPECT_EQ(colour->height, mask->height);
        // The letters' cores are the read-out colour 0xFFCC00 (0xFE60 in 5-6-5), their
        // outlines dark.
        int gold = 0, dark = 0;
        for (int y = 0; y < mask->height; ++y) {
            for (int x = 0; x < mask->width; ++x) {
                if (MaskAt(*mask, x, y) != 255) continue;
                const uint16_t p = colour->Pixels()[y * colour->Stride() + x];
                gold += p == 0xFE60;
                dark += (p >> 11) < 8;
            }
        }
        EXPECT_GT(gold, 1000);
        EXPECT_GT(dark, 1000);
    }
}

TEST(FontData, TheReadOutFontIsLargerAndBolderThanTheTextFont) {
    const FSBitmapHandle game = LoadBitmap(kFonts, "game_font/font_mask.bmp");
    const FSBitmapHandle main = LoadBitmap(kFonts, "main/font_mask.bmp");
    ASSERT_TRUE(game && main);
    EXPECT_GT(game->height, main->height + 3);
    auto opaqueShare = [](const FSBitmap& b) {
        int opaque = 0, inked = 0;
        for (int y = 0; y < b.height; ++y) {
            for (int x = 0; x < b.width; ++x) {
                inked += MaskAt(b, x, y) != 0;
                opaque += MaskAt(b, x, y) == 255;
            }
        }
        return static_cast<double>(opaque) / inked;
    };
    // Solid strokes: most inked pixels of the bold outlined face are fully covered.
    EXPECT_GT(opaqueShare(*game), opaqueShare(*main));
}

}  // namespace
