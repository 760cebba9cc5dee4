// The sky boxes in the built textures archive, read as the game reads them (DecodePng:
// bottom row first): five pictures per time of day, meeting without seams, with day
// horizons in the colour of the game's fog.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "tools/ArchiveTestSupport.h"
#include "world/FSAtmosphere.h"
#include "world/FSDayTime.h"
#include "world/FSSineTable.h"
#include "world/FSSkyModel.h"

namespace {

using namespace archive_test;

const std::string kTextures = MakeDataPath("data\\textures.zip");
constexpr int kSize = 256;
constexpr int kLast = kSize - 1;

enum Face { kLeft, kRight, kTop, kFront, kBack };
const char* const kFiles[] = {"left.png", "right.png", "top.png", "front.png", "back.png"};

struct SkyBox {
    std::array<FSPngImage, 5> faces;
};

SkyBox LoadBox(int dayTime) {
    SkyBox box;
    for (int f = 0; f < 5; ++f) {
        const std::string member = std::string(SkyBoxFolder(dayTime)) + "/" + kFiles[f];
        EXPECT_TRUE(ReadPng(kTextures, member, box.faces[f])) << member;
    }
    return box;
}

int Difference(const uint8_t* a, const uint8_t* b) {
    return std::max({std::abs(a[0] - b[0]), std::abs(a[1] - b[1]), std::abs(a[2] - b[2])});
}

TEST(SkyBoxData, FourTimesOfDayOfFiveOpaquePictures) {
    for (int dayTime = kDayTimeMorning; dayTime <= kDayTimeNight; ++dayTime) {
        const SkyBox box = LoadBox(dayTime);
        for (int f = 0; f < 5; ++f) {
            SCOPED_TRACE(std::string(SkyBoxFolder(dayTime)) + " " + kFiles[f]);
            EXPECT_EQ(box.faces[f].width, kSize);
            EXPECT_EQ(box.faces[f].height, kSize);
            EXPECT_EQ(box.faces[f].channels, 3);
        }
    }
    // There is no bottom picture: the game reuses the top one for the hidden bottom face.
    FSPngImage none;
    EXPECT_FALSE(ReadPng(kTextures, "skyboxes/skybox1/noon/bottom.png", none));
}

TEST(SkyBoxData, NeighbouringFacesShareTheirEdges) {
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
        const SkyBox box = LoadBox(dayTime);
        for (const Edge& e : edges) {
            int worst = 0;
            for (int k = 0; k < kSize; ++k) {
                worst = std::max(worst, Difference(Texel(box.faces[e.a], at(e.ai, k), at(e.ar, k)),
                                                   Texel(box.faces[e.b], at(e.bi, k), at(e.br, k))));
            }
            EXPECT_LE(worst, 2) << SkyBoxFolder(dayTime) << " " << e.name;
        }
        // And the faces are not all one colour, so the comparison means something.
        EXPECT_GT(Difference(Texel(box.faces[kFront], 128, 200), Texel(box.faces[kFront], 128, 60)), 4);
    }
}

TEST(SkyBoxData, DayHorizonsHaveTheColourOfTheFog) {
    SineTable sine;
    CFSSkyModel sky(&sine);
    // The camera's turbidity 800 m up, where the routes are flown.
    sky.SetTurbidity(2.0f + 4.0f * AirDensity(800.0f) / AirDensity(0.0f));
    // The direction of a side face's middle row, by face, as an azimuth atan2(z, x).
    auto azimuth = [](Face f, int i) {
        const float s = -1.0f + 2.0f * i / kLast;
        switch (f) {
            case kLeft:
                return std::atan2(-s, -1.0f);
            case kRight:
                return std::atan2(s, 1.0f);
            case kFront:
                return std::atan2(-1.0f, s);
            default:
                return std::atan2(1.0f, -s);
        }
    };
    for (int dayTime = kDayTimeMorning; dayTime <= kDayTimeEvening; ++dayTime) {
        const SkyBox box = LoadBox(dayTime);
        const FSSunPosition sun = SunPosition(dayTime);
        sky.SetSun(sun.zenith, sun.azimuth);
        for (Face f : {kLeft, kRight, kFront, kBack}) {
            for (int i = 0; i < kSize; i += 15) {
                // Looking level, the camera's fog is the sky 75° from the zenith.
                const FSSkyColour fog = sky.SkyColour(1.3089969f, azimuth(f, i));
                const uint8_t* t = Texel(box.faces[f], i, kSize / 2);
                SCOPED_TRACE(std::string(SkyBoxFolder(dayTime)) + " " + kFiles[f] + " " + std::to_string(i));
                EXPECT_NEAR(t[0], fog.r * 255, 3);
                EXPECT_NEAR(t[1], fog.g * 255, 3);
                EXPECT_NEAR(t[2], fog.b * 255, 3);
            }
        }
    }
}

TEST(SkyBoxData, TheSunStandsWhereTheTimeOfDayPutsIt) {
    // The brightest part of the horizon band (15° to 25° up) lies on the sun's side.
    auto brightestFace = [](const SkyBox& box) {
        int best = -1;
        double bestLuma = -1;
        for (Face f : {kLeft, kRight, kFront, kBack}) {
            double sum = 0;
            for (int r = 150; r < 180; ++r)
                for (int i = 0; i < kSize; ++i)
                    sum += Luma(Texel(box.faces[f], i, r));
            if (sum > bestLuma) {
                bestLuma = sum;
                best = f;
            }
        }
        return best;
    };
    EXPECT_EQ(brightestFace(LoadBox(kDayTimeMorning)), kFront);  // east
    EXPECT_EQ(brightestFace(LoadBox(kDayTimeNoon)), kRight);     // south
    EXPECT_EQ(brightestFace(LoadBox(kDayTimeEvening)), kBack);   // west

    // The night: dark, with stars (points much brighter than the sky around them) and
    // the moon in the south-west, on the right face.
    const SkyBox night = LoadBox(kDayTimeNight);
    int stars = 0;
    double sum = 0;
    for (Face f : {kLeft, kRight, kTop, kFront, kBack}) {
        const FSPngImage& image = night.faces[f];
        for (int r = 1; r < kLast; ++r) {
            for (int i = 1; i < kLast; ++i) {
                const double l = Luma(Texel(image, i, r));
                sum += l;
                const double around = (Luma(Texel(image, i - 1, r)) + Luma(Texel(image, i + 1, r)) +
                                       Luma(Texel(image, i, r - 1)) + Luma(Texel(image, i, r + 1))) /
                                      4;
                stars +=
                    l > around + 40 && l >= Luma(Texel(image, i - 1, r)) && l >= Luma(Texel(image, i + 1, r));
            }
        }
    }
    EXPECT_LT(sum / (5.0 * (kLast - 1) * (kLast - 1)), 40.0);
    EXPECT_GT(stars, 200);
    // Where the moon's direction meets the right face (x = 1: s = z / x, t = y / x).
    const float mx = std::sin(kNightMoon.zenith) * std::cos(kNightMoon.azimuth);
    const float my = std::cos(kNightMoon.zenith);
    const float mz = std::sin(kNightMoon.zenith) * std::sin(kNightMoon.azimuth);
    const int ci = static_cast<int>((mz / mx + 1.0f) / 2.0f * kLast);
    const int cr = static_cast<int>((my / mx + 1.0f) / 2.0f * kLast);
    int moon = 0;
    const FSPngImage& right = night.faces[kRight];
    for (int r = std::max(0, cr - 12); r <= std::min(kLast, cr + 12); ++r)
        for (int i = std::max(0, ci - 12); i <= std::min(kLast, ci + 12); ++i)
            moon += Luma(Texel(right, i, r)) > 180;
    EXPECT_GT(moon, 60);
}

}  // namespace
