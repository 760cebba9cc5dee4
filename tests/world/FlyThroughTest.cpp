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
using world_test::F;

namespace {

FSBox Box(double x0, double y0, double z0, double x1, double y1, double z1) {
    return FSBox::FromCorners({F(x0), F(y0), F(z0)}, {F(x1), F(y1), F(z1)});
}

// Outer 100..140 in x and z, 0..10 up; inner 110..130, 2..8.
FSCloudZone TestZone(uint32_t colour = 0xFFFFFF) {
    FSCloudZone zone;
    zone.outer = Box(100, 0, 100, 140, 10, 140);
    zone.inner = Box(110, 2, 110, 130, 8, 130);
    zone.mixColour = colour;
    return zone;
}

// A picture of one colour, x8r8g8b8, and its plain conversion.
std::vector<uint32_t> Picture(uint32_t colour, int width = 240, int height = 320) {
    return std::vector<uint32_t>(static_cast<size_t>(width) * height, colour);
}
std::vector<uint16_t> Plain(const std::vector<uint32_t>& picture) {
    std::vector<uint16_t> out(picture.size());
    ConvertTo565(out.data(), picture.data(), static_cast<int>(picture.size()));
    return out;
}

double MeanLuma(const std::vector<uint16_t>& p) {
    double sum = 0;
    for (uint16_t v : p)
        sum += Red5(v) / 31.0 + Green6(v) / 63.0 + Blue5(v) / 31.0;
    return sum / (3.0 * p.size());
}

TEST(FlyThrough, AZoneGivesStateOneInItsShellAndStateTwoInItsCore) {
    CFSFlyThroughEffect effect;
    effect.Init();
    effect.UpdateAt({F(120), F(5), F(120)});
    EXPECT_EQ(effect.State(), 0);  // no zones: never anything
    EXPECT_EQ(effect.AddZone(TestZone()), 0);
    // In the outer box, outside the inner one: state 1, factor 0..1 by the depth reached
    // from the face it was entered by; in the inner box state 2.
    const struct {
        double x, y;
        int state, zone;
        float factor;
    } points[] = {{50, 5, 0, -1, 1.0f}, {105, 5, 1, 0, 0.5f}, {100, 5, 1, 0, 0.0f},
                  {109, 5, 1, 0, 0.9f}, {120, 1, 1, 0, 0.5f}, {120, 5, 2, 0, 0.0f}};
    for (const auto& p : points) {
        effect.UpdateAt({F(p.x), F(p.y), F(120)});
        EXPECT_EQ(effect.State(), p.state) << p.x << " " << p.y;
        EXPECT_EQ(effect.CurrentZone(), p.zone) << p.x << " " << p.y;
        EXPECT_NEAR(effect.Factor(), p.factor, 1e-4f) << p.x << " " << p.y;
    }
    // Every point of the shell, whichever side it is entered from, has a factor in 0..1.
    for (double x = 100; x <= 140; x += 2.5) {
        for (double y = 0; y <= 10; y += 1.25) {
            for (double z = 100; z <= 140; z += 5) {
                effect.UpdateAt({F(x), F(y), F(z)});
                ASSERT_NE(effect.State(), 0) << x << " " << y << " " << z;
                ASSERT_TRUE(effect.Factor() >= 0.0f && effect.Factor() <= 1.0f) << x << " " << y << " " << z;
            }
        }
    }
    // The first zone that holds the point wins.
    FSCloudZone second = TestZone();
    second.outer = Box(0, 0, 0, 200, 20, 200);
    EXPECT_EQ(effect.AddZone(second), 1);
    effect.UpdateAt({F(120), F(5), F(120)});
    EXPECT_EQ(effect.CurrentZone(), 0);
    effect.UpdateAt({F(150), F(5), F(150)});
    EXPECT_EQ(effect.CurrentZone(), 1);
    effect.ClearZones();
    effect.UpdateAt({F(120), F(5), F(120)});
    EXPECT_EQ(effect.State(), 0);
}

TEST(FlyThrough, ZonesReachAcrossTheSeamAndFollowThePlayersCell) {
    CFSFlyThroughEffect effect;
    FSCloudZone seam;
    seam.outer = Box(230, 0, 50, 250, 10, 70);
    seam.inner = Box(235, 2, 55, 245, 8, 65);
    effect.AddZone(seam);
    effect.UpdateAt({F(3), F(5), F(60)});  // 243 the other way round
    EXPECT_EQ(effect.State(), CFSFlyThroughEffect::kInside);
    effect.UpdateAt({F(232), F(5), F(60)});
    EXPECT_EQ(effect.State(), CFSFlyThroughEffect::kEntering);
    effect.ClearZones();
    effect.AddZone(TestZone());
    world_test::TestNode player;
    player.SetCell({1, 3});
    player.Place({F(-10), F(5), F(-30)});  // terrain (80, 5, 180): outside
    effect.Update(player);
    EXPECT_EQ(effect.State(), 0);
    player.SetCell({2, 1});
    player.Place({F(-30), F(5), F(29)});  // terrain (120, 5, 119): the core
    effect.Update(player);
    EXPECT_EQ(effect.State(), CFSFlyThroughEffect::kInside);
}

TEST(FlyThrough, ConvertCloudsThePictureTowardTheZoneColourByDensity) {
    CFSFlyThroughEffect effect;
    effect.AddZone(TestZone(0xFFFFFF));
    const std::vector<uint32_t> dark = Picture(0x203040);
    const std::vector<uint16_t> plain = Plain(dark);
    std::vector<uint16_t> out(dark.size(), 0xAAAA);
    effect.Convert(out.data(), dark.data(), 240, 320, 1.0f);
    EXPECT_EQ(out, plain);  // state 0: the plain conversion
    // State 2 with full density everywhere: the picture turns (nearly) white; with clear
    // density it stays as it was.
    effect.UpdateAt({F(120), F(5), F(120)});
    ASSERT_TRUE(effect.SetCloudImage(256, 512, std::vector<uint8_t>(256 * 512, 255)));
    effect.Convert(out.data(), dark.data(), 240, 320, 3.0f);
    for (uint16_t p : out)
        ASSERT_TRUE(Red5(p) >= 30 && Green6(p) >= 61 && Blue5(p) >= 30);
    ASSERT_TRUE(effect.SetCloudImage(256, 512, std::vector<uint8_t>(256 * 512, 0)));
    effect.Convert(out.data(), dark.data(), 240, 320, 3.0f);
    EXPECT_EQ(out, plain);
    // A half-dense pattern: the thin fringe (state 1, factor 0.1) clouds less than the core
    // and than the even haze deeper in (factor 0.7).
    std::vector<uint8_t> stripes(256 * 512);
    for (size_t i = 0; i < stripes.size(); ++i)
        stripes[i] = (i / 256) % 16 < 8 ? 200 : 40;
    ASSERT_TRUE(effect.SetCloudImage(256, 512, stripes));
    double luma[3];
    const double depths[3] = {120, 101, 107};
    for (int k = 0; k < 3; ++k) {
        effect.UpdateAt({F(depths[k]), F(5), F(120)});
        effect.Convert(out.data(), dark.data(), 240, 320, 0.0f);
        luma[k] = MeanLuma(out);
    }
    EXPECT_GT(luma[1], MeanLuma(plain) + 0.02);
    EXPECT_GT(luma[0], luma[1] + 0.1);
    EXPECT_GT(luma[2], luma[1] + 0.1);
}

TEST(FlyThrough, ConvertKeepsToItsRowsAndToleratesAnyDensityPictureSize) {
    CFSFlyThroughEffect effect;
    effect.AddZone(TestZone(0xFF0000));
    effect.UpdateAt({F(120), F(5), F(120)});
    const std::vector<uint32_t> black = Picture(0x000000, 120, 160);
    // Rows 40..59 (without a density picture the density is full), and from row 150 with
    // any count beyond the last row; the other rows are left alone.
    for (const auto& [first, count, last] : {std::tuple{40, 20, 59}, {150, 100, 159}, {150, INT_MAX, 159}}) {
        std::vector<uint16_t> out(black.size(), 0x1234);
        effect.Convert(out.data(), black.data(), 120, 160, 0.5f, first, count);
        for (int row = 0; row < 160; ++row) {
            const uint16_t p = out[static_cast<size_t>(row) * 120 + 7];
            if (row >= first && row <= last)
                ASSERT_GE(Red5(p), 30) << first << " " << count << " row " << row;
            else
                ASSERT_EQ(p, 0x1234) << first << " " << count << " row " << row;
        }
    }
    // A density picture smaller than the image repeats; wrong sizes are refused.
    EXPECT_FALSE(effect.SetCloudImage(3, 3, std::vector<uint8_t>(8, 255)));
    EXPECT_FALSE(effect.SetCloudImage(0, 5, {}));
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
    EXPECT_EQ(effect.ImageHeight(), 512);
    // Missing member, missing archive, a file that is no PNG: refused, the picture kept.
    EXPECT_FALSE(effect.LoadCloudImage(MakeDataPath("data\\textures.zip"), "clouds/nothing.png"));
    EXPECT_FALSE(effect.LoadCloudImage(MakeDataPath("data\\no-such-archive.zip")));
    const std::string folder = testing_support::MakeTempFolder("flythrough");
    { std::ofstream(folder + "/zone.png") << "not a picture at all"; }
    ASSERT_EQ(std::system(("cd " + folder + " && zip -q bad.zip zone.png").c_str()), 0);
    EXPECT_FALSE(effect.LoadCloudImage(folder + "/bad.zip", "zone.png"));
    EXPECT_EQ(effect.ImageWidth(), 256);
    // The kept picture clouds a dark night scene deep in a zone.
    effect.AddZone(TestZone());
    effect.UpdateAt({F(120), F(5), F(120)});
    const std::vector<uint32_t> night = Picture(0x101828);
    std::vector<uint16_t> clouded(night.size());
    effect.Convert(clouded.data(), night.data(), 240, 320, 12.0f);
    EXPECT_GT(MeanLuma(clouded), MeanLuma(Plain(night)) + 0.3);
    effect.Init();
    EXPECT_EQ(effect.ImageWidth(), 0);
    EXPECT_TRUE(effect.Zones().empty());
}

}  // namespace
