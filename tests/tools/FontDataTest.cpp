#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "tools/ArchiveTestSupport.h"
#include "resources/FSArchive.h"

namespace {

using namespace archive_test;

const std::string kFonts = MakeDataPath("data\\fonts.zip");

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t Le16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

// A BMP as the game's bitmap loader reads it: rows stored bottom row first, handed out
// here with row 0 at the top.
struct Bitmap {
    int width = 0, height = 0, bits = 0;
    std::vector<uint32_t> pixels;  // the index (8-bit) or the 5-6-5 value (16-bit)
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

bool ParseBmp(const std::vector<uint8_t>& b, Bitmap& out, std::string& problem) {
    auto fail = [&problem](const std::string& why) {
        problem = why;
        return false;
    };
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') return fail("not a BMP");
    const uint32_t offset = Le32(b, 10);
    out.width = static_cast<int>(Le32(b, 18));
    out.height = static_cast<int>(Le32(b, 22));
    out.bits = Le16(b, 28);
    const uint32_t compression = Le32(b, 30);
    if (Le32(b, 14) != 40) return fail("info header is not 40 bytes");
    if (out.width <= 0 || out.height <= 0) return fail("not a bottom-up picture");
    if (out.bits == 8) {
        if (compression != 0) return fail("compressed 8-bit picture");
        if (offset != 54 + 1024) return fail("palette of other than 256 colours");
    } else if (out.bits == 16) {
        if (b.size() < 66 || compression != 3 || Le32(b, 54) != 0xF800 || Le32(b, 58) != 0x07E0 ||
            Le32(b, 62) != 0x001F) {
            return fail("16-bit picture without 5-6-5 bit fields");
        }
    } else {
        return fail("bit count " + std::to_string(out.bits));
    }
    const size_t stride = out.bits == 8 ? (out.width + 3) / 4 * 4 : (out.width + 1) / 2 * 4;
    if (b.size() < offset + stride * out.height) return fail("truncated pixels");
    for (int y = 0; y < out.height; ++y) {
        const size_t row = offset + stride * (out.height - 1 - y);
        for (int x = 0; x < out.width; ++x) {
            out.pixels.push_back(out.bits == 8 ? b[row + x] : Le16(b, row + 2 * x));
        }
    }
    return true;
}

// "config.txt" read the way the game reads it: lines end with CR LF, tokens are separated
// by blanks and tabs.
struct FontConfig {
    std::string mask, src;
    std::vector<int> letters;
    bool crlf = true;
};

FontConfig ParseConfig(const std::string& text) {
    FontConfig config;
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = text.find_first_of("\r\n", at);
        if (end == std::string::npos || text.compare(end, 2, "\r\n") != 0) config.crlf = false;
        const std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? text.size() : end + 2;
        std::istringstream words(line);
        std::vector<std::string> tokens;
        for (std::string token; words >> token;)
            tokens.push_back(token);
        if (tokens.empty() || tokens[0] == "//") continue;
        if (tokens[0] == "mask" && tokens.size() == 2) config.mask = tokens[1];
        if (tokens[0] == "src" && tokens.size() == 2) config.src = tokens[1];
        if (tokens[0] == "letters") {
            for (size_t i = 1; i < tokens.size(); ++i)
                config.letters.push_back(std::atoi(tokens[i].c_str()));
        }
    }
    return config;
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
        const FontConfig config = ParseConfig(MemberText(kFonts, folder + "config.txt"));
        EXPECT_TRUE(config.crlf);
        // 94 characters: the start of each and the end of the last.
        ASSERT_EQ(config.letters.size(), 95u);
        EXPECT_EQ(config.letters.front(), 0);
        for (size_t i = 0; i + 1 < config.letters.size(); ++i)
            EXPECT_LT(config.letters[i], config.letters[i + 1]) << i;

        ASSERT_FALSE(config.mask.empty());
        Bitmap mask;
        std::string problem;
        ASSERT_TRUE(ParseBmp(MemberBytes(kFonts, folder + config.mask), mask, problem)) << problem;
        EXPECT_EQ(mask.bits, 8);
        // Every glyph lies inside the strip, and the strip holds nothing but glyphs.
        EXPECT_EQ(mask.width, config.letters.back());
        EXPECT_GE(mask.height, expected.minHeight);
        EXPECT_LE(mask.height, expected.maxHeight);

        // Each character has ink in its own columns, and ink from the top row to the bottom
        // row is used by some character (no wasted line height).
        bool topUsed = false, bottomUsed = false;
        for (int c = 0; c < 94; ++c) {
            int ink = 0;
            for (int x = config.letters[c]; x < config.letters[c + 1]; ++x) {
                for (int y = 0; y < mask.height; ++y) {
                    if (mask.At(x, y) == 0) continue;
                    ++ink;
                    topUsed |= y == 0;
                    bottomUsed |= y == mask.height - 1;
                }
            }
            EXPECT_GT(ink, 0) << "character " << static_cast<char>(33 + c);
        }
        EXPECT_TRUE(topUsed);
        EXPECT_TRUE(bottomUsed);
        auto width = [&config](char c) { return config.letters[c - 33 + 1] - config.letters[c - 33]; };
        EXPECT_LT(width('i'), width('W'));
        EXPECT_LT(width('.'), width('M'));

        const std::vector<uint8_t> colourBytes = MemberBytes(kFonts, folder + "font.bmp");
        if (!expected.coloured) {
            EXPECT_TRUE(config.src.empty());
            EXPECT_TRUE(colourBytes.empty());
            continue;
        }
        ASSERT_EQ(config.src, "font.bmp");
        Bitmap colour;
        ASSERT_TRUE(ParseBmp(colourBytes, colour, problem)) << problem;
        EXPECT_EQ(colour.bits, 16);
        EXPECT_EQ(colour.width, mask.width);
        EXPECT_EQ(colour.height, mask.height);
        // The letters' cores are the read-out colour 0xFFCC00 (0xFE60 in 5-6-5), their
        // outlines dark.
        int gold = 0, dark = 0;
        for (int y = 0; y < mask.height; ++y) {
            for (int x = 0; x < mask.width; ++x) {
                if (mask.At(x, y) != 255) continue;
                const uint32_t p = colour.At(x, y);
                gold += p == 0xFE60;
                dark += (p >> 11) < 8;
            }
        }
        EXPECT_GT(gold, 1000);
        EXPECT_GT(dark, 1000);
    }
}

TEST(FontData, TheReadOutFontIsLargerAndBolderThanTheTextFont) {
    Bitmap game, main;
    std::string problem;
    ASSERT_TRUE(ParseBmp(MemberBytes(kFonts, "game_font/font_mask.bmp"), game, problem)) << problem;
    ASSERT_TRUE(ParseBmp(MemberBytes(kFonts, "main/font_mask.bmp"), main, problem)) << problem;
    EXPECT_GT(game.height, main.height + 3);
    auto opaqueShare = [](const Bitmap& b) {
        int opaque = 0, inked = 0;
        for (uint32_t p : b.pixels) {
            inked += p != 0;
            opaque += p == 255;
        }
        return static_cast<double>(opaque) / inked;
    };
    // Solid strokes: most inked pixels of the bold outlined face are fully covered.
    EXPECT_GT(opaqueShare(game), opaqueShare(main));
}

}  // namespace
