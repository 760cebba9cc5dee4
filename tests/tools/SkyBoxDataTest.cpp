// The sky boxes in the built textures archive, read as the game reads them (DecodePng:
// bottom row first): five pictures per time of day, meeting without seams and without
// bands on the 5-6-5 screen. (That the day horizons have the colour of the game's fog
// shows in the sky box's drawing tests.)
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "resources/FSPixels.h"
#include "support/TestSupport.h"
#include "tools/ArchiveTestSupport.h"
#include "world/FSDayTime.h"

namespace {

using namespace archive_test;

constexpr int kSize = 256;
constexpr int kLast = kSize - 1;

enum Face { kLeft, kRight, kTop, kFront, kBack };
const char* const kFiles[] = {"left.png", "right.png", "top.png", "front.png", "back.png"};

using SkyBox = std::array<FSPngImage, 5>;

SkyBox LoadBox(int dayTime) {
    SkyBox box;
    for (int f = 0; f < 5; ++f)
        box[f] =
            LoadPng(MakeDataPath("data\\textures.zip"), std::string(SkyBoxFolder(dayTime)) + "/" + kFiles[f]);
    return box;
}

int Difference(const uint8_t* a, const uint8_t* b) {
    return std::max({std::abs(a[0] - b[0]), std::abs(a[1] - b[1]), std::abs(a[2] - b[2])});
}

uint16_t Level565(const FSPngImage& face, int x, int y) {
    const uint8_t* t = Texel(face, x, y);
    return Pack565(static_cast<uint32_t>(t[0]) << 16 | static_cast<uint32_t>(t[1]) << 8 | t[2]);
}

TEST(SkyBoxData, EveryTimeOfDayHasFiveOpaqueFacesThatShareTheirEdgesAndShowNoBands) {
    // Each edge: a texel of one face and the texel of its neighbour for the same direction,
    // k running along the edge. A coordinate is a fixed column or row, kAlong (k) or
    // kReversed (kLast - k).
    constexpr int kAlong = -1, kReversed = -2;
    struct Edge {
        const char* name;
        Face a, b;
        int ai, ar, bi, br;
    };
    const Edge edges[] = {
        {"left|front", kLeft, kFront, kLast, kAlong, 0, kAlong},
        {"front|right", kFront, kRight, kLast, kAlong, 0, kAlong},
        {"right|back", kRight, kBack, kLast, kAlong, 0, kAlong},
        {"back|left", kBack, kLeft, kLast, kAlong, 0, kAlong},
        {"top/front", kTop, kFront, kAlong, 0, kAlong, kLast},
        {"top/right", kTop, kRight, kLast, kAlong, kAlong, kLast},
        {"top/left", kTop, kLeft, 0, kAlong, kReversed, kLast},
        {"top/back", kTop, kBack, kAlong, kLast, kReversed, kLast},
    };
    auto at = [](int coordinate, int k) {
        return coordinate == kAlong ? k : coordinate == kReversed ? kLast - k : coordinate;
    };
    for (int dayTime = kDayTimeMorning; dayTime <= kDayTimeNight; ++dayTime) {
        SCOPED_TRACE(SkyBoxFolder(dayTime));
        const SkyBox box = LoadBox(dayTime);
        for (const FSPngImage& face : box)
            ASSERT_EQ(std::vector<int>({face.width, face.height, face.channels}),
                      std::vector<int>({kSize, kSize, 3}));
        // The faces are dithered each on its own: the edges agree in the mean of every
        // stretch of 16 texels.
        constexpr int kStretch = 16;
        for (const Edge& e : edges) {
            int worst = 0;
            for (int k0 = 0; k0 < kSize; k0 += kStretch) {
                uint8_t mean[2][3] = {};
                for (int side = 0; side < 2; ++side) {
                    int sum[3] = {};
                    for (int k = k0; k < k0 + kStretch; ++k) {
                        const uint8_t* t = side == 0 ? Texel(box[e.a], at(e.ai, k), at(e.ar, k))
                                                     : Texel(box[e.b], at(e.bi, k), at(e.br, k));
                        for (int c = 0; c < 3; ++c)
                            sum[c] += t[c];
                    }
                    for (int c = 0; c < 3; ++c)
                        mean[side][c] = static_cast<uint8_t>(sum[c] / kStretch);
                }
                worst = std::max(worst, Difference(mean[0], mean[1]));
            }
            EXPECT_LE(worst, 3) << e.name;
        }
        // And the faces are not all one colour, so the comparison means something.
        EXPECT_GT(Difference(Texel(box[kFront], 128, 200), Texel(box[kFront], 128, 60)), 4);
        // On the screen's 5-6-5 levels no face breaks into bands.
        for (int f = 0; f < 5; ++f) {
            EXPECT_EQ(testing_support::BandEdges(kSize, kSize,
                                                 [&](int x, int y) { return Level565(box[f], x, y); }),
                      0)
                << kFiles[f];
        }
    }
    // There is no bottom picture: the game reuses the top one for the hidden bottom face.
    FSPngImage none;
    EXPECT_FALSE(ReadPng(MakeDataPath("data\\textures.zip"), "skyboxes/skybox1/noon/bottom.png", none));
}

}  // namespace
