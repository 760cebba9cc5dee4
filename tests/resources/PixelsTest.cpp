#include <gtest/gtest.h>

#include <vector>

#include "resources/FSPixels.h"

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
    EXPECT_EQ(out[0], 0xF800);
    EXPECT_EQ(out[1], 0x07E0);
    EXPECT_EQ(out[2], 0x001F);
    EXPECT_EQ(out[3], 0xFFFF);
    EXPECT_EQ(out[4], 0x1234);
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

}  // namespace
