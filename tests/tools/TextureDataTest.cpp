// The textures of textures.zip besides the terrains', the sky and the aircraft, as the
// game decodes them (DecodePng: bottom row first, v = 0 at the bottom).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/ArchiveTestSupport.h"

namespace {

using namespace archive_test;

const std::string kTextures = MakeDataPath("data\\textures.zip");

FSPngImage Load(const std::string& member) {
    return LoadPng(kTextures, member);
}

bool White(const FSPngImage& image, int x, int y) {
    return (Texel(image, x, y)[0] & Texel(image, x, y)[1] & Texel(image, x, y)[2]) == 255;
}

TEST(TextureData, EveryTextureHasItsPowerOfTwoSizeWithAlphaWhereItIsSeenThrough) {
    struct Expected {
        std::string name;
        int width, height, channels;
    };
    std::vector<Expected> expected = {{"particle.png", 32, 32, 4},
                                      {"avia.png", 64, 64, 4},
                                      {"red.png", 32, 32, 3},
                                      {"blue.png", 32, 32, 3},
                                      {"clouds/cloud.png", 256, 256, 4},
                                      {"clouds/layer.png", 512, 128, 4},
                                      {"clouds/zone.png", 256, 512, 3},
                                      {"trees/trees.png", 256, 256, 4},
                                      {"runway.png", 128, 1024, 3}};
    for (const char* building : {"house", "apartments", "barn", "hangar", "tower", "church", "lighthouse"})
        expected.push_back({std::string("buildings/") + building + ".png", 256, 256, 3});
    for (const Expected& e : expected) {
        const FSPngImage image = Load(e.name);
        EXPECT_EQ(std::vector<int>({image.width, image.height, image.channels}),
                  std::vector<int>({e.width, e.height, e.channels}))
            << e.name;
    }
    // The fly-through density is a grey picture with clear and dense parts.
    const std::vector<uint8_t> zone = Load("clouds/zone.png").pixels;
    int coloured = 0;
    for (size_t i = 0; i + 2 < zone.size(); i += 3)
        coloured += zone[i] != zone[i + 1] || zone[i] != zone[i + 2];
    EXPECT_EQ(coloured, 0);
    EXPECT_LT(*std::min_element(zone.begin(), zone.end()), 20);
    EXPECT_GT(*std::max_element(zone.begin(), zone.end()), 235);
}

TEST(TextureData, SixteenDifferentTreesStandCentredInTheirOwnCellsWithoutADarkRim) {
    const FSPngImage atlas = Load("trees/trees.png");
    ASSERT_EQ(atlas.channels, 4);
    constexpr int kCell = 64;
    // Variant k: u from (k div 4) / 4, v from (k mod 4) / 4.
    const auto alpha = [&](int k, int x, int y) {
        return Alpha(atlas, (k / 4) * kCell + x, (k % 4) * kCell + y);
    };
    for (int k = 0; k < 16; ++k) {
        int covered = 0, foot = 0, topRow = 0;
        double weight = 0, sumX = 0;
        for (int y = 0; y < kCell; ++y) {
            for (int x = 0; x < kCell; ++x) {
                const int a = alpha(k, x, y);
                covered += a > 128;
                weight += a;
                sumX += a * (x + 0.5);
                if (y == 0 && x >= 20 && x < 44) foot = std::max(foot, a);  // the bottom edge's middle
                if (y == kCell - 1) topRow += a;  // nothing runs into the cell above
            }
        }
        EXPECT_GT(covered, kCell * kCell / 12) << "variant " << k;
        EXPECT_NEAR(sumX / weight, kCell / 2.0, 8.0) << "variant " << k;
        EXPECT_GT(foot, 200) << "variant " << k;
        EXPECT_EQ(topRow, 0) << "variant " << k;
        // Different from every other: in shape, or in colour where both are solid.
        for (int b = 0; b < k; ++b) {
            int differing = 0;
            for (int m = 0; m < kCell * kCell; ++m) {
                const int x = m % kCell, y = m / kCell, alphaK = alpha(k, x, y), alphaB = alpha(b, x, y);
                const uint8_t* p = Texel(atlas, (k / 4) * kCell + x, (k % 4) * kCell + y);
                const uint8_t* q = Texel(atlas, (b / 4) * kCell + x, (b % 4) * kCell + y);
                bool differs = std::abs(alphaK - alphaB) > 128;
                for (int c = 0; c < 3 && alphaK > 128 && alphaB > 128; ++c)
                    differs |= std::abs(p[c] - q[c]) > 60;
                differing += differs;
            }
            EXPECT_GT(differing, 100) << "variants " << k << " and " << b;
        }
    }
    // Filtering blends the colour of clear texels into a tree's edge: each clear texel
    // beside the tree must take its colour from the tree there (within the range of its
    // coloured neighbours), or the tree gets a dark rim.
    int edges = 0, dark = 0;
    for (int y = 1; y + 1 < atlas.height; ++y) {
        for (int x = 1; x + 1 < atlas.width; ++x) {
            if (Alpha(atlas, x, y) != 0) continue;
            int low[3] = {255, 255, 255}, high[3] = {0, 0, 0};
            bool besideTree = false;
            for (int d = 0; d < 9; ++d) {
                const int nx = x + d % 3 - 1, ny = y + d / 3 - 1;
                if (Alpha(atlas, nx, ny) == 0) continue;
                besideTree = true;
                for (int c = 0; c < 3; ++c) {
                    low[c] = std::min<int>(low[c], Texel(atlas, nx, ny)[c]);
                    high[c] = std::max<int>(high[c], Texel(atlas, nx, ny)[c]);
                }
            }
            edges += besideTree;
            for (int c = 0; c < 3 && besideTree; ++c)
                dark += Texel(atlas, x, y)[c] < low[c] - 2 || Texel(atlas, x, y)[c] > high[c] + 2;
        }
    }
    EXPECT_GT(edges, 1000);
    EXPECT_EQ(dark, 0);
}

TEST(TextureData, TheCloudIsDenseInTheMiddleClearWellInsideItsBordersAndSunlitOnTop) {
    const FSPngImage cloud = Load("clouds/cloud.png");
    const int w = cloud.width, h = cloud.height;
    int border = 0, upperCount = 0, lowerCount = 0;
    double central = 0, upper = 0, lower = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            // Clear wider than the largest border a cloud's window leaves out (3276 / 65536
            // of the width): the window never cuts the heap with a straight edge.
            if (std::min({x, y, w - 1 - x, h - 1 - y}) < w * 3276 / 65536 + 1) border += Alpha(cloud, x, y);
            // Dense around the centre, where a cloud node takes its part of the picture.
            if (x >= w * 3 / 8 && x < w * 5 / 8 && y >= h * 3 / 8 && y < h * 5 / 8)
                central += Alpha(cloud, x, y) / (w * h / 16.0);
            if (Alpha(cloud, x, y) < 250) continue;
            (y >= h / 2 ? upper : lower) += Luma(Texel(cloud, x, y));  // v runs up the picture
            ++(y >= h / 2 ? upperCount : lowerCount);
        }
    }
    EXPECT_EQ(border, 0);
    EXPECT_GT(central, 240.0);
    EXPECT_GT(upper / upperCount, lower / lowerCount + 15);
}

TEST(TextureData, TheCloudLayerTilesAcrossAndFadesOutTopAndBottom) {
    const FSPngImage layer = Load("clouds/layer.png");
    const int w = layer.width, h = layer.height;
    // The seam between the last column and the first is no rougher than the picture
    // anywhere else (the layer scrolls u, so the two meet on screen).
    double roughest = 0, middle = 0;
    int edgeAlpha = 0;
    for (int x = 0; x < w; ++x) {
        if (x + 1 < w) roughest = std::max(roughest, Step(layer, true, x));
        // Clear along the top and bottom rows, cloud in the middle rows.
        edgeAlpha = std::max({edgeAlpha, Alpha(layer, x, 0), Alpha(layer, x, h - 1)});
        for (int y = h * 3 / 8; y < h / 2; ++y)
            middle += Alpha(layer, x, y) / (w * (h / 2.0 - h * 3 / 8));
    }
    EXPECT_LE(Step(layer, true, w - 1), roughest);
    EXPECT_LT(edgeAlpha, 8);
    EXPECT_GT(middle, 140.0);
}

TEST(TextureData, TheRunwayCarriesItsMarkingsAtBothEndsOfTheStrip) {
    const FSPngImage runway = Load("runway.png");
    const int w = runway.width, h = runway.height;
    auto bright = [&](int x, int y) { return Luma(Texel(runway, x, y)) > 200; };
    // Dark tarmac with a white edge line along both sides over the whole length, a dashed
    // centre line along the middle, and near end A (v = 0) and end B (v = 1) the same eight
    // threshold stripes between the edge lines.
    int missingEdge = 0, brightTarmac = 0, dashes = 0, stripesA = 0, stripesB = 0;
    double tarmac = 0;
    for (int y = 0; y < h; ++y) {
        missingEdge += !bright(6, y) || !bright(w - 7, y);
        brightTarmac += y > 100 && y < h - 100 && bright(w / 3, y);  // past the numbers
        tarmac += Luma(Texel(runway, w / 4, y)) / h;
        dashes += y >= h / 4 && y < h * 3 / 4 && bright(w / 2, y) && !bright(w / 2, y - 1);
    }
    for (int x = 10; x < w - 10; ++x) {
        stripesA += bright(x, 25) && !bright(x - 1, 25);
        stripesB += bright(x, h - 26) && !bright(x - 1, h - 26);
    }
    EXPECT_EQ(std::vector<int>({missingEdge, brightTarmac, stripesA, stripesB}),
              std::vector<int>({0, 0, 8, 8}));
    EXPECT_LT(tarmac, 120.0);
    EXPECT_GE(dashes, 8);
}

TEST(TextureData, TheParticleIsASoftRoundWhiteSprite) {
    const FSPngImage p = Load("particle.png");
    ASSERT_EQ(p.width, 32);
    const int c = 16, last = 31;
    EXPECT_GT(Alpha(p, c, c), 240);
    EXPECT_EQ(Alpha(p, 0, 0) + Alpha(p, 0, last) + Alpha(p, last, 0) + Alpha(p, last, last), 0);
    // Alpha falls steadily from the centre outwards, the same in every direction.
    for (int r = 1; r < c; ++r) {
        EXPECT_LE(Alpha(p, c + r, c), Alpha(p, c + r - 1, c)) << r;
        EXPECT_EQ(Alpha(p, c + r - 1, c), Alpha(p, c, c + r - 1)) << r;
    }
    // White everywhere, so particles take their colour from the particle system alone.
    int coloured = 0;
    for (int k = 0; k < 32 * 32; ++k)
        coloured += !White(p, k % 32, k / 32);
    EXPECT_EQ(coloured, 0);
}

TEST(TextureData, GateTexturesAreBrightRedAndBlue) {
    auto average = [](const char* name) {
        const FSPngImage p = Load(name);
        std::vector<double> sum(3, 0.0);
        for (size_t i = 0; i < p.pixels.size(); ++i)
            sum[i % 3] += p.pixels[i] * 3.0 / p.pixels.size();
        return sum;
    };
    const std::vector<double> red = average("red.png"), blue = average("blue.png");
    EXPECT_GT(red[0], std::max({180.0, 1.8 * red[1], 1.8 * red[2]}));
    EXPECT_GT(blue[2], std::max({180.0, 1.8 * blue[0], blue[1]}));
}

}  // namespace
