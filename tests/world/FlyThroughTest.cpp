// The fly-through effect: zones, state and factor, and the clouding of the picture.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "resources/FSArchive.h"
#include "resources/FSPixels.h"
#include "support/TestSupport.h"
#include "world/FSFlyThroughEffect.h"
#include "world/WorldTestNodes.h"

using testing_support::Blue5;
using testing_support::Green6;
using testing_support::Red5;
using world_test::Box;
using world_test::F;

namespace {

// Outer 100..140 in x and z, 0..10 up; inner 110..130, 2..8.
FSCloudZone TestZone(uint32_t colour = 0xFFFFFF) {
    FSCloudZone zone;
    zone.outer = Box(100, 0, 100, 140, 10, 140);
    zone.inner = Box(110, 2, 110, 130, 8, 130);
    zone.mixColour = colour;
    return zone;
}

// The mean brightness (0..1) of a picture of one colour (x8r8g8b8) after the conversion.
double Clouded(const CFSFlyThroughEffect& effect, uint32_t colour, float seconds = 0.0f) {
    const std::vector<uint32_t> picture(240 * 320, colour);
    std::vector<uint16_t> out(picture.size());
    effect.Convert(out.data(), picture.data(), 240, 320, seconds);
    double sum = 0;
    for (uint16_t v : out)
        sum += Red5(v) / 31.0 + Green6(v) / 63.0 + Blue5(v) / 31.0;
    return sum / (3.0 * out.size());
}

TEST(FlyThrough, AZoneGivesStateOneInItsShellAndStateTwoInItsCoreAcrossTheSeamToo) {
    CFSFlyThroughEffect effect;
    effect.UpdateAt({F(120), F(5), F(120)});
    EXPECT_EQ(effect.State(), 0);  // no zones: never anything
    effect.AddZone(TestZone());
    FSCloudZone seam;  // a zone across the world's seam, and one holding the first
    seam.outer = Box(230, 0, 50, 250, 10, 70);
    seam.inner = Box(235, 2, 55, 245, 8, 65);
    effect.AddZone(seam);
    FSCloudZone wide = TestZone();
    wide.outer = Box(0, 0, 0, 200, 20, 200);
    EXPECT_EQ(effect.AddZone(wide), 2);
    // In the outer box, outside the inner one: state 1, factor 0..1 by the depth reached
    // from the face it was entered by; in the inner box state 2; the first zone wins.
    const std::tuple<double, double, double, int, int, float> points[] = {
        {205, 5, 120, 0, -1, 1.0f},      {105, 5, 120, 1, 0, 0.5f},
        {100, 5, 120, 1, 0, 0.0f},       {109, 5, 120, 1, 0, 0.9f},
        {120, 1, 120, 1, 0, 0.5f},       {120, 5, 120, 2, 0, 0.0f},
        {150, 5, 150, 1, 2, 50.0f / 70}, {3, 5, 60, 2, 1, 0.0f},
        {232, 5, 60, 1, 1, 0.4f}};  // 3 is 243 the other way round
    for (const auto& [x, y, z, state, zone, factor] : points) {
        effect.UpdateAt({F(x), F(y), F(z)});
        EXPECT_TRUE(effect.State() == state && effect.CurrentZone() == zone) << x << " " << y << " " << z;
        EXPECT_NEAR(effect.Factor(), factor, 1e-4f) << x << " " << y << " " << z;
    }
    // The player's node is taken at its terrain position: cell (2, 1), local (−30, 5, 29)
    // is (120, 5, 119), the core.
    world_test::TestNode player;
    player.SetCell({2, 1});
    player.Place({F(-30), F(5), F(29)});
    effect.Update(player);
    EXPECT_EQ(effect.State(), CFSFlyThroughEffect::kInside);
    effect.ClearZones();
    effect.Update(player);
    EXPECT_EQ(effect.State(), 0);
}

TEST(FlyThrough, ConvertCloudsThePictureTowardTheZoneColourByDensity) {
    CFSFlyThroughEffect effect;
    effect.AddZone(TestZone());
    const double dark = Clouded(effect, 0x203040);  // state 0: the plain conversion
    // State 2: full density turns the picture white, clear density leaves it as it was.
    effect.UpdateAt({F(120), F(5), F(120)});
    for (uint8_t density : {255, 0}) {
        ASSERT_TRUE(effect.SetCloudImage(256, 512, std::vector<uint8_t>(256 * 512, density)));
        EXPECT_TRUE(density ? Clouded(effect, 0x203040) > 0.97 : Clouded(effect, 0x203040) == dark)
            << density;
    }
    // A half-dense pattern: the thin fringe (factor 0.1) clouds less than the core and
    // than the even haze deeper in (factor 0.7).
    std::vector<uint8_t> stripes(256 * 512);
    for (size_t i = 0; i < stripes.size(); ++i)
        stripes[i] = (i / 256) % 16 < 8 ? 200 : 40;
    ASSERT_TRUE(effect.SetCloudImage(256, 512, stripes));
    double luma[3];
    for (int k = 0; k < 3; ++k) {
        effect.UpdateAt({F(k == 0 ? 120 : (k == 1 ? 101 : 107)), F(5), F(120)});
        luma[k] = Clouded(effect, 0x203040);
    }
    EXPECT_TRUE(luma[1] > dark + 0.02 && luma[0] > luma[1] + 0.1 && luma[2] > luma[1] + 0.1);
}

TEST(FlyThrough, ConvertKeepsToItsRowsAndToleratesAnyDensityPictureSize) {
    CFSFlyThroughEffect effect;
    effect.AddZone(TestZone(0xFF0000));
    effect.UpdateAt({F(120), F(5), F(120)});
    const std::vector<uint32_t> black(120 * 160, 0);
    // Rows 40..59 (without a density picture the density is full), and from row 150 with
    // any count beyond the last row; the other rows are left alone.
    for (const auto& [first, count, last] : {std::tuple{40, 20, 59}, {150, 100, 159}, {150, INT_MAX, 159}}) {
        std::vector<uint16_t> out(black.size(), 0x1234);
        effect.Convert(out.data(), black.data(), 120, 160, 0.5f, first, count);
        for (int row = 0; row < 160; ++row) {
            const uint16_t p = out[static_cast<size_t>(row) * 120 + 7];
            ASSERT_TRUE(row >= first && row <= last ? Red5(p) >= 30 : p == 0x1234)
                << first << " " << count << " " << row;
        }
    }
    // A density picture smaller than the image repeats; wrong sizes are refused.
    EXPECT_FALSE(effect.SetCloudImage(3, 3, std::vector<uint8_t>(8, 255)) || effect.SetCloudImage(0, 5, {}));
    ASSERT_TRUE(effect.SetCloudImage(3, 2, {255, 0, 255, 0, 255, 0}));
    std::vector<uint16_t> out(black.size());
    for (float seconds : {0.0f, 1.7f, 250.0f, -3.0f})
        effect.Convert(out.data(), black.data(), 120, 160, seconds);
    effect.Convert(nullptr, black.data(), 120, 160, 0.0f);
    effect.Convert(out.data(), black.data(), 0, 160, 0.0f);
}

TEST(FlyThrough, TheDensityPictureComesFromTheTexturesArchive) {
    CFSFlyThroughEffect effect;
    ASSERT_TRUE(effect.LoadCloudImage(MakeDataPath("data\\textures.zip")));
    EXPECT_EQ(effect.ImageWidth(), 256);
    // Missing member, missing archive, a file that is no PNG: refused, the picture kept.
    const std::string folder = testing_support::MakeTempFolder("flythrough");
    { std::ofstream(folder + "/zone.png") << "not a picture at all"; }
    ASSERT_EQ(std::system(("cd " + folder + " && zip -q bad.zip zone.png").c_str()), 0);
    EXPECT_FALSE(effect.LoadCloudImage(MakeDataPath("data\\textures.zip"), "clouds/nothing.png") ||
                 effect.LoadCloudImage(MakeDataPath("data\\no-such-archive.zip")) ||
                 effect.LoadCloudImage(folder + "/bad.zip", "zone.png"));
    EXPECT_EQ(effect.ImageWidth(), 256);
    // The kept picture clouds a dark night scene deep in a zone.
    effect.AddZone(TestZone());
    const double night = Clouded(effect, 0x101828);
    effect.UpdateAt({F(120), F(5), F(120)});
    EXPECT_GT(Clouded(effect, 0x101828, 12.0f), night + 0.3);
    effect.Init();
    EXPECT_TRUE(effect.ImageWidth() == 0 && effect.Zones().empty());
}

}  // namespace
