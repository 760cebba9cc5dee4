// The pixel utilities: packing and converting 32-bit colours, doubling, darkening, the
// rectangle form of the conversion, and the quarter turn of a whole screen.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "resources/FSPixels.h"
#include "support/TestSupport.h"

using testing_support::Blue5;
using testing_support::Green6;
using testing_support::Red5;

namespace {

TEST(Pixels, PacksTheTopBitsOfEachChannel) {
    EXPECT_EQ(Pack565(0xFFFFFF), 0xFFFF);
    EXPECT_EQ(Pack565(0xFF0000), 0xF800);
    EXPECT_EQ(Pack565(0x00FF00), 0x07E0);
    EXPECT_EQ(Pack565(0x0000FF), 0x001F);
    EXPECT_EQ(Pack565(0xFFCC00), 0xFE60);
    EXPECT_EQ(Pack565(0x07030700), Pack565(0x030700));  // the x8 byte is ignored
}

TEST(Pixels, ConvertsInPairsAndLeavesAnOddLastPixel) {
    const std::vector<uint32_t> source = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x808080};
    std::vector<uint16_t> out(5, 0x1234);
    ConvertTo565(out.data(), source.data(), 5);
    EXPECT_EQ(out, (std::vector<uint16_t>{0xF800, 0x07E0, 0x001F, 0xFFFF, 0x1234}));  // the odd one stays
    std::vector<uint16_t> one(1, 0x5555);
    ConvertTo565(one.data(), source.data(), 1);
    EXPECT_EQ(one[0], 0x5555);
}

TEST(Pixels, DoublingMakesTwoByTwoBlocks) {
    const std::vector<uint16_t> source = {1, 2, 3, 4, 5, 6};  // 3 x 2
    std::vector<uint16_t> out(6 * 4, 0);
    DoublePixels(out.data(), source.data(), 3, 2);
    const std::vector<uint16_t> expected = {1, 1, 2, 2, 3, 3, 1, 1, 2, 2, 3, 3,
                                            4, 4, 5, 5, 6, 6, 4, 4, 5, 5, 6, 6};
    EXPECT_EQ(out, expected);
}

TEST(PixelUtilities, DarkeningScalesEveryChannelInPairs) {
    const std::vector<uint16_t> source = {0xFFFF, 0xF800, 0x07E0, 0x001F, 0xFFFF};
    std::vector<uint16_t> out(5, 0x1234);
    DarkenPixels(out.data(), source.data(), 5, 0.2f);  // k = 51
    // Red and blue 31 * 51 >> 8 = 6, green 63 * 51 >> 8 = 12; the odd last pixel stays as it was.
    EXPECT_EQ(out, (std::vector<uint16_t>{6 << 11 | 12 << 5 | 6, 6 << 11, 12 << 5, 6, 0x1234}));

    std::vector<uint16_t> one(1, 0x1234);
    DarkenPixels(one.data(), source.data(), 1, 0.5f);
    EXPECT_EQ(one[0], 0x1234);

    // 1 keeps the picture, 0 blacks it out; beyond the range the factor is clamped.
    std::mt19937 random(5);
    std::vector<uint16_t> picture(64);
    for (uint16_t& p : picture)
        p = static_cast<uint16_t>(random());
    std::vector<uint16_t> kept(64), black(64, 0xFFFF), over(64), under(64, 0xFFFF);
    DarkenPixels(kept.data(), picture.data(), 64, 1.0f);
    DarkenPixels(black.data(), picture.data(), 64, 0.0f);
    DarkenPixels(over.data(), picture.data(), 64, 7.5f);
    DarkenPixels(under.data(), picture.data(), 64, -2.0f);
    EXPECT_EQ(kept, picture);
    EXPECT_EQ(over, picture);
    EXPECT_EQ(black, std::vector<uint16_t>(64, 0));
    EXPECT_EQ(under, std::vector<uint16_t>(64, 0));

    // Each channel scales on its own, in place as well.
    std::vector<uint16_t> same = picture;
    DarkenPixels(same.data(), same.data(), 64, 0.4f);
    const uint32_t k = static_cast<uint32_t>(0.4f * 256.0f);
    for (size_t i = 0; i < picture.size(); ++i) {
        EXPECT_EQ(Red5(same[i]), static_cast<int>(Red5(picture[i]) * k >> 8));
        EXPECT_EQ(Green6(same[i]), static_cast<int>(Green6(picture[i]) * k >> 8));
        EXPECT_EQ(Blue5(same[i]), static_cast<int>(Blue5(picture[i]) * k >> 8));
    }
}

TEST(PixelUtilities, ConvertsARectangleBetweenStridesIncludingOddWidths) {
    // A 3 x 2 rectangle from (1, 1) of a 5-wide 32-bit image into (2, 0) of a 6-wide screen.
    std::vector<uint32_t> image(5 * 3);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<uint32_t>(i * 0x0A1B2C3u);
    std::vector<uint16_t> screen(6 * 3, 0x1234);
    ConvertTo565(screen.data(), {2, 0}, 6, image.data(), {1, 1}, 5, {3, 2});
    int touched = 0;
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 6; ++x) {
            const uint16_t p = screen[y * 6 + x];
            if (x >= 2 && x < 5 && y < 2) {
                EXPECT_EQ(p, Pack565(image[(y + 1) * 5 + (x - 1)])) << x << "," << y;
            } else {
                EXPECT_EQ(p, 0x1234) << x << "," << y;
            }
            touched += p != 0x1234;
        }
    }
    EXPECT_EQ(touched, 6);
}

TEST(PixelUtilities, RotatingTheScreenIsAQuarterTurnAnticlockwise) {
    for (const FSSize size : {FSSize{320, 240}, FSSize{4, 2}, FSSize{3, 5}}) {
        const int w = size.w, h = size.h;
        std::vector<uint16_t> source(static_cast<size_t>(w * h));
        for (size_t i = 0; i < source.size(); ++i)
            source[i] = static_cast<uint16_t>(i * 7919u);
        std::vector<uint16_t> turned(source.size(), 0);
        RotateScreen(turned.data(), source.data(), w, h);
        // Source (c, r) lands at (r, w - 1 - c) of an h-wide picture.
        bool same = true;
        for (int r = 0; r < h; ++r) {
            for (int c = 0; c < w; ++c)
                same = same && turned[(w - 1 - c) * h + r] == source[r * w + c];
        }
        EXPECT_TRUE(same) << w << " x " << h;
        // The same turn as transform 3 of the copies, which the menu uses for the other way.
        std::vector<uint16_t> copied(source.size(), 0);
        CopyPixels(copied.data(), {0, 0}, {h, w}, source.data(), {0, 0}, {w, h}, {w, h}, 3);
        EXPECT_EQ(turned, copied);
    }
}

}  // namespace
