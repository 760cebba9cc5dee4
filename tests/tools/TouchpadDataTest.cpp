// The stylus pad's picture in huds.zip, as the game's bitmap loader and the pad instrument
// read it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

#include "hud/FSTouchpad.h"
#include "resources/FSArchive.h"
#include "resources/FSBitmap.h"

namespace {

const std::string kHuds = MakeDataPath("data/huds.zip");

class TouchpadData : public ::testing::Test {
protected:
    void SetUp() override {
        picture_ = LoadBitmap(kHuds, CFSTouchpad::kPictureName);
        mask_ = LoadBitmap(kHuds, CFSTouchpad::kMaskName);
        ASSERT_TRUE(picture_ && mask_);
    }
    int Mask(int x, int y) const { return mask_->Bytes()[y * mask_->rowBytes + x]; }
    uint16_t Colour(int x, int y) const { return picture_->Pixels()[y * picture_->Stride() + x]; }

    FSBitmapHandle picture_;
    FSBitmapHandle mask_;
};

TEST_F(TouchpadData, PictureAndMaskFitEveryPlacementOfThePad) {
    EXPECT_EQ(picture_->bitsPerPixel, 16);
    EXPECT_EQ(mask_->bitsPerPixel, 8);
    // Drawn unturned on the device: 120 x 160 is the portrait pad and both landscape pads
    // (160 x 120) seen a quarter turned.
    EXPECT_EQ(picture_->width, 120);
    EXPECT_EQ(picture_->height, 160);
    EXPECT_EQ(mask_->width, picture_->width);
    EXPECT_EQ(mask_->height, picture_->height);
    CFSTouchpad pad;
    EXPECT_TRUE(pad.LoadImages(kHuds));
}

TEST_F(TouchpadData, ThePadIsSeeThroughAndReadsTheSameTurnedHalfWay) {
    const int w = picture_->width, h = picture_->height;
    int strongest = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            strongest = std::max(strongest, Mask(x, y));
            // The landscape orientations see it turned one way or the other.
            ASSERT_EQ(Mask(x, y), Mask(w - 1 - x, h - 1 - y)) << x << "," << y;
            if (Mask(x, y) > 0) {
                ASSERT_EQ(Colour(x, y), Colour(w - 1 - x, h - 1 - y)) << x << "," << y;
            }
        }
    }
    // Rounded corners leave the picture's corners clear; the panel lets the ground show
    // through; its marks stand out without covering anything whole.
    for (const auto& [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}})
        EXPECT_EQ(Mask(x, y), 0) << x << "," << y;
    for (const auto& [x, y] : {std::pair{30, 40}, {90, 120}, {20, 130}})
        EXPECT_TRUE(Mask(x, y) > 20 && Mask(x, y) < 110) << x << "," << y << ": " << Mask(x, y);
    EXPECT_GT(strongest, 160);
    EXPECT_LT(strongest, 255);
}

TEST_F(TouchpadData, TheDeadZoneIsMarkedWhereTheSteeringHasIt) {
    // The dead zone is 30 x 40 device pixels at the centre: columns 45 to 74, rows 60 to 99.
    // Its outline is the strongest mark on each side along a row and a column through its
    // straight edges (its corners are rounded).
    auto strongest = [&](int from, int to, auto at) {
        int best = from;
        for (int k = from; k < to; ++k)
            best = at(k) > at(best) ? k : best;
        return best;
    };
    for (int y : {68, 72, 88, 92}) {
        EXPECT_EQ(strongest(30, 60, [&](int x) { return Mask(x, y); }), 45) << y;
        EXPECT_EQ(strongest(60, 90, [&](int x) { return Mask(x, y); }), 74) << y;
    }
    for (int x : {52, 55, 65, 68}) {
        EXPECT_EQ(strongest(40, 80, [&](int y) { return Mask(x, y); }), 60) << x;
        EXPECT_EQ(strongest(80, 120, [&](int y) { return Mask(x, y); }), 99) << x;
    }
}

}  // namespace
