// The strip compass's and the strip altimeter's pictures in huds.zip and the artificial
// horizon's face in textures.zip, as the game's own loaders and instruments use them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hud/FSAltimeter.h"
#include "hud/FSCompass.h"
#include "hud/FSFont.h"
#include "support/TestSupport.h"
#include "tools/ArchiveTestSupport.h"

namespace {

using archive_test::Alpha;
using archive_test::Texel;

const std::string kHuds = MakeDataPath("data/huds.zip");
const std::string kTextures = MakeDataPath("data/textures.zip");
constexpr int kScreenWidth = 240, kScreenHeight = 320;

// Brightness 0 to 255 of a 5-6-5 colour.
int Luma(uint16_t c) {
    const int r = (c >> 11) * 255 / 31, g = ((c >> 5) & 63) * 255 / 63, b = (c & 31) * 255 / 31;
    return (299 * r + 587 * g + 114 * b) / 1000;
}

struct Picture {
    FSBitmapHandle image, mask;
    uint16_t Colour(int x, int y) const { return image->Pixels()[y * image->Stride() + x]; }
    int Mask(int x, int y) const { return mask->Bytes()[y * mask->rowBytes + x]; }
};

Picture Load(const std::string& stem) {
    return {LoadBitmap(kHuds, stem + ".bmp"), LoadBitmap(kHuds, stem + "_mask.bmp")};
}

TEST(InstrumentData, ThePicturesLoadIntoTheInstrumentsWithTheirMasks) {
    CFSCompass compass;
    CFSAltimeter altimeter;
    EXPECT_TRUE(compass.Create(kHuds, 135, nullptr));
    EXPECT_TRUE(altimeter.Create(kHuds, 1.5, nullptr));
    const struct {
        const char* stem;
        int width, height;
    } pictures[] = {{"compass/compass_body", 150, 22}, {"compass/compass_player_marker", 10, 14},
                    {"compass/compass_marker", 10, 8}, {"altimeter/altimeter_body", 20, 150},
                    {"altimeter/marker", 7, 7},        {"altimeter/altimeter_arrow", 54, 15}};
    for (const auto& p : pictures) {
        const Picture picture = Load(p.stem);
        ASSERT_TRUE(picture.image && picture.mask) << p.stem;
        EXPECT_EQ(
            std::vector<int>({picture.image->bitsPerPixel, picture.mask->bitsPerPixel, picture.image->width,
                              picture.image->height, picture.mask->width, picture.mask->height}),
            std::vector<int>({16, 8, p.width, p.height, p.width, p.height}))
            << p.stem;
    }
}

TEST(InstrumentData, TheGamesBlackMarksStandOutOnTheCardsAndTheMarkersLeaveThemClear) {
    // Every pixel the game may tick or letter is opaque and light: on the compass rows 6 to
    // 13 inside the frame, on the altimeter columns 3 to 12. Each has a dark frame, seen at
    // (frameX, frameY).
    const struct {
        const char* stem;
        int x0, x1, y0, y1, frameX, frameY;
    } areas[] = {{"compass/compass_body", 2, 148, 6, 14, 0, 11},
                 {"altimeter/altimeter_body", 3, 13, 1, 149, 0, 75}};
    for (const auto& a : areas) {
        const Picture body = Load(a.stem);
        ASSERT_TRUE(body.image && body.mask);
        int faint = 0;
        for (int y = a.y0; y < a.y1; ++y)
            for (int x = a.x0; x < a.x1; ++x)
                faint += body.Mask(x, y) != 255 || Luma(body.Colour(x, y)) < 150;
        EXPECT_EQ(faint, 0) << a.stem;
        EXPECT_LT(Luma(body.Colour(a.frameX, a.frameY)), 80) << a.stem;
    }
    // The compass's ends are rounded off. Its player's marker lies from body row 9, so its
    // first five rows, over the letters (to row 13), are clear.
    const Picture compass = Load("compass/compass_body"), player = Load("compass/compass_player_marker");
    ASSERT_TRUE(compass.mask && player.mask);
    EXPECT_EQ(compass.Mask(0, 0) + compass.Mask(149, 21), 0);
    int covered = 0;
    for (int k = 0; k < 5 * player.mask->width; ++k)
        covered += player.Mask(k % player.mask->width, k / player.mask->width) > 0;
    EXPECT_EQ(covered, 0);
}

// The frame buffer of the compass at heading 0 and the altimeter at 12.345 km drawn over
// mid grey with the main font.
std::vector<uint16_t> DrawInstruments(const CFSFont* font) {
    CFSCompass compass;
    CFSAltimeter altimeter;
    compass.Create(kHuds, 135, font);
    altimeter.Create(kHuds, 1.5, font);
    altimeter.SetValue(12.345);
    std::vector<uint16_t> frame(kScreenWidth * kScreenHeight, 0x8410);
    compass.Draw(frame.data(), 0);
    altimeter.Draw(frame.data(), 0);
    return frame;
}

TEST(InstrumentData, TheHeadingLetterAndTheHeightFiguresReadOnScreen) {
    CFSFont font;
    ASSERT_TRUE(font.LoadFontFrom(MakeDataPath("data/fonts.zip"), "main", 5, 1, 0));
    const std::vector<uint16_t> plain = DrawInstruments(nullptr), lettered = DrawInstruments(&font);
    // "N" in dark strokes on the compass's card at (45, 2), centred on x = 120, over the marker.
    int black = 0;
    for (int y = 8; y < 16; ++y)
        for (int x = 114; x < 127; ++x)
            black += Luma(lettered[y * kScreenWidth + x]) < 60 && Luma(plain[y * kScreenWidth + x]) > 150;
    EXPECT_GT(black, 12);
    // The figures, light, inside the tag at (171, 153) and on its dark face, clear of the rim
    // and of the point.
    // Only the rows from 100 down, below the compass.
    const size_t below = 100 * kScreenWidth;
    const testing_support::ChangedArea figures = testing_support::Changes(
        {plain.begin() + below, plain.end()}, {lettered.begin() + below, lettered.end()}, kScreenWidth);
    int onDark = 0, white = 0;
    for (int y = 150; y < 170; ++y)
        for (int x = 160; x < 220; ++x) {
            const int k = y * kScreenWidth + x;
            const bool figure = Luma(lettered[k]) > 200 && plain[k] != lettered[k];
            white += figure;
            onDark += figure && Luma(plain[k]) < 60;
        }
    EXPECT_GT(white, 40);
    EXPECT_EQ(onDark, white);
    const int tagLeft = kScreenWidth - 20 - 54 + 5, tagTop = 85 + 75 - 15 / 2 - 100;
    EXPECT_GT(figures.left, tagLeft + 1);
    EXPECT_LE(figures.right, tagLeft + 54 - 8);
    EXPECT_GT(figures.top, tagTop);
    EXPECT_LT(figures.bottom, tagTop + 15);
}

TEST(InstrumentData, TheHorizonFaceKeepsTheColoursAndLightsItsLinesTheSameBothWays) {
    const FSPngImage face = archive_test::LoadPng(kTextures, "avia.png");
    ASSERT_EQ(std::vector<int>({face.width, face.height, face.channels}), std::vector<int>({64, 64, 4}));
    auto bright = [&](int x, int y) {
        const uint8_t* t = Texel(face, x, y);
        return t[0] > 240 && t[1] > 240 && t[2] > 240 && t[3] == 255;
    };
    int plain = 0, unlitHorizon = 0, mirrored = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const uint8_t* t = Texel(face, x, y);
            plain += t[0] == 0 && t[1] == 0 && t[2] == 0 && t[3] == 255;
            unlitHorizon += (y < 2 || y > 61) && !bright(x, y);
            // The sky's square and the ground's are the same face turned over.
            const uint8_t* m = Texel(face, x, 63 - y);
            mirrored += t[0] == m[0] && t[1] == m[1] && t[2] == m[2] && t[3] == m[3];
        }
    EXPECT_GT(plain, 64 * 64 / 2);
    EXPECT_EQ(unlitHorizon, 0);
    EXPECT_EQ(mirrored, 64 * 64);
    // Rungs at 30 and 60 degrees, a shorter one at 10; darker towards the sides, slightly.
    EXPECT_TRUE(bright(32, 21) && bright(32, 42) && bright(22, 21)) << "30 and 60 degrees";
    EXPECT_TRUE(Texel(face, 32, 7)[0] > 100 && Texel(face, 22, 7)[0] == 0) << "10 degrees";
    EXPECT_TRUE(Alpha(face, 0, 32) < 240 && Alpha(face, 0, 32) > 170) << Alpha(face, 0, 32);
}

}  // namespace
