// The fonts of fonts.zip as the game reads them: through its font loader, and "config.txt"
// through the keyword reader and the strips through the bitmap loader (top row first).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hud/FSFont.h"
#include "resources/FSBitmap.h"
#include "resources/FSKeywordReader.h"
#include "tools/ArchiveTestSupport.h"

namespace {

using namespace archive_test;

const std::string kFonts = MakeDataPath("data\\fonts.zip");

uint8_t MaskAt(const FSBitmap& mask, int x, int y) {
    return mask.Bytes()[y * mask.rowBytes + x];
}

TEST(FontData, EveryFontLoadsWithInkForEveryCharacterAndUsesItsWholeHeight) {
    struct Expected {
        const char* folder;
        int minHeight, maxHeight;  // line height in pixels
        bool coloured;
    };
    // Sizes that read well on the 240 x 320 screen: running text about 11-13 pixels, the
    // flight read-out larger.
    for (const Expected& e :
         {Expected{"game_font", 17, 26, true}, Expected{"main", 11, 16, false},
          Expected{"listctrl_font", 11, 17, false}, Expected{"scores_font", 11, 17, false},
          Expected{"menu_links", 11, 17, false}}) {
        SCOPED_TRACE(e.folder);
        CFSFont font;
        ASSERT_TRUE(font.LoadFont(e.folder, 5, 1, 0));
        EXPECT_EQ(std::vector<int>({font.CanDraw(), font.HasSource(), font.GlyphCount()}),
                  std::vector<int>({true, e.coloured, 94}));
        const std::string folder = std::string(e.folder) + "/";
        std::vector<int> letters;  // the start of each character and the end of the last
        ForEachTokenLine(MemberText(kFonts, folder + "config.txt"),
                         [&](const std::vector<std::string>& tokens) {
                             for (size_t i = 1; tokens[0] == "letters" && i < tokens.size(); ++i)
                                 letters.push_back(ToInt(tokens[i]));
                         });
        ASSERT_EQ(letters.size(), 95u);
        const FSBitmapHandle mask = LoadBitmap(kFonts, folder + "font_mask.bmp");
        ASSERT_TRUE(mask);
        EXPECT_GE(mask->height, e.minHeight);
        EXPECT_LE(mask->height, e.maxHeight);
        // Each character has ink in its own columns, and some character reaches the top row
        // and some the bottom row (no wasted line height).
        bool topUsed = false, bottomUsed = false;
        for (int c = 0; c < 94; ++c) {
            int ink = 0;
            for (int x = letters[c]; x < letters[c + 1]; ++x) {
                for (int y = 0; y < mask->height; ++y) {
                    ink += MaskAt(*mask, x, y) != 0;
                    topUsed |= y == 0 && MaskAt(*mask, x, y) != 0;
                    bottomUsed |= y == mask->height - 1 && MaskAt(*mask, x, y) != 0;
                }
            }
            EXPECT_GT(ink, 0) << "character " << static_cast<char>(33 + c);
        }
        EXPECT_TRUE(topUsed && bottomUsed);
        auto width = [&letters](char c) { return letters[c - 33 + 1] - letters[c - 33]; };
        EXPECT_LT(width('i'), width('W'));
        EXPECT_LT(width('.'), width('M'));
        if (!e.coloured) continue;
        // The letters' cores are the read-out colour 0xFFCC00 (0xFE60 in 5-6-5), their
        // outlines dark.
        const FSBitmapHandle colour = LoadBitmap(kFonts, folder + "font.bmp");
        ASSERT_TRUE(colour);
        ASSERT_EQ(std::vector<int>({colour->width, colour->height}),
                  std::vector<int>({mask->width, mask->height}));
        int gold = 0, dark = 0;
        for (int y = 0; y < mask->height; ++y) {
            for (int x = 0; x < mask->width; ++x) {
                const uint16_t p = colour->Pixels()[y * colour->Stride() + x];
                gold += MaskAt(*mask, x, y) == 255 && p == 0xFE60;
                dark += MaskAt(*mask, x, y) == 255 && (p >> 11) < 8;
            }
        }
        EXPECT_GT(gold, 1000);
        EXPECT_GT(dark, 1000);
    }
}

}  // namespace
