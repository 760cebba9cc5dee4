// The pixel utilities: packing and converting 32-bit colours, doubling, darkening, the
// rectangle form of the conversion, and the quarter turn of a whole screen.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "resources/FSPixels.h"

namespace {

using Pixels = std::vector<uint16_t>;

TEST(Pixels, ConvertsTheTopBitsOfEachChannelInPairsAndLeavesAnOddLastPixel) {
    const std::vector<uint32_t> source = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x808080};
    Pixels out(5, 0x1234);
    ConvertTo565(out.data(), source.data(), 5);
    EXPECT_EQ(out, (Pixels{0xF800, 0x07E0, 0x001F, 0xFFFF, 0x1234}));
    Pixels one(1, 0x5555);
    ConvertTo565(one.data(), source.data(), 1);
    EXPECT_EQ(one[0], 0x5555);
    EXPECT_EQ(Pack565(0xFFCC00), 0xFE60);
    EXPECT_EQ(Pack565(0x07030700), Pack565(0x030700));  // the x8 byte is ignored
}

TEST(Pixels, ConvertsARectangleBetweenStridesIncludingOddWidths) {
    // A 3 x 2 rectangle from (1, 1) of a 5-wide 32-bit image into (2, 0) of a 6-wide screen.
    std::vector<uint32_t> image(5 * 3);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint32_t>(i * 0x0A1B2C3u);
    Pixels screen(6 * 3, 0x1234);
    ConvertTo565(screen.data(), {2, 0}, 6, image.data(), {1, 1}, 5, {3, 2});
    Pixels expected(6 * 3, 0x1234);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x)
            expected[y * 6 + 2 + x] = Pack565(image[(y + 1) * 5 + 1 + x]);
    }
    EXPECT_EQ(screen, expected);
}

TEST(Pixels, DoublingMakesTwoByTwoBlocks) {
    const Pixels source = {1, 2, 3, 4, 5, 6};  // 3 x 2
    Pixels out(6 * 4, 0);
    DoublePixels(out.data(), source.data(), 3, 2);
    EXPECT_EQ(out, (Pixels{1, 1, 2, 2, 3, 3, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 4, 4, 5, 5, 6, 6}));
}

TEST(Pixels, DarkeningScalesEveryChannelInPairsClampedToZeroAndOne) {
    const Pixels source = {0xFFFF, 0xF800, 0x07E0, 0x001F, 0xFFFF};
    Pixels out(5, 0x1234);
    DarkenPixels(out.data(), source.data(), 5, 0.2f);  // k = 51
    // Red and blue 31 * 51 >> 8 = 6, green 63 * 51 >> 8 = 12; the odd last pixel stays as it was.
    EXPECT_EQ(out, (Pixels{6 << 11 | 12 << 5 | 6, 6 << 11, 12 << 5, 6, 0x1234}));
    DarkenPixels(out.data(), source.data(), 1, 0.5f);
    EXPECT_EQ(out[0], 6 << 11 | 12 << 5 | 6);
    // In place, with 1 keeping the picture and 0 blacking it out, beyond them clamped.
    std::mt19937 random(5);
    Pixels picture(64);
    for (uint16_t& p : picture)
        p = static_cast<uint16_t>(random());
    for (const auto& [factor, kept] : {std::pair{1.0f, true}, {7.5f, true}, {0.0f, false}, {-2.0f, false}}) {
        Pixels same = picture;
        DarkenPixels(same.data(), same.data(), 64, factor);
        EXPECT_EQ(same, kept ? picture : Pixels(64, 0)) << factor;
    }
}

TEST(Pixels, RotatingTheScreenIsAQuarterTurnAnticlockwise) {
    const Pixels source = {1, 2, 3, 4, 5, 6};  // 3 x 2
    Pixels turned(6, 0);
    RotateScreen(turned.data(), source.data(), 3, 2);
    EXPECT_EQ(turned, (Pixels{3, 6, 2, 5, 1, 4}));  // 2 x 3
    // The same turn as transform 3 of the copies, which the menu uses for the other way.
    for (const FSSize size : {FSSize{320, 240}, FSSize{4, 2}, FSSize{3, 5}}) {
        const int w = size.w, h = size.h;
        Pixels picture(static_cast<size_t>(w * h));
        for (size_t i = 0; i < picture.size(); ++i)
            picture[i] = static_cast<uint16_t>(i * 7919u);
        Pixels rotated(picture.size(), 0), copied(picture.size(), 0);
        RotateScreen(rotated.data(), picture.data(), w, h);
        CopyPixels(copied.data(), {0, 0}, {h, w}, picture.data(), {0, 0}, {w, h}, {w, h}, 3);
        EXPECT_EQ(rotated, copied) << w << " x " << h;
    }
}

}  // namespace
