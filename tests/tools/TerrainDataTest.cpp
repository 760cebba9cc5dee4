// The terrains of terrains.zip as the game loads them (CFSTerrainStorage, in full): what
// the drawing, the flight and the routes' runways rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "databuild/TerrainFile.h"
#include "tools/ArchiveTestSupport.h"
#include "world/FSTerrainStorage.h"

namespace {

using archive_test::PowerOfTwo;
using archive_test::Step;

const char* const kTerrainNames[] = {"valley.ter", "coast.ter", "farmland.ter"};

double Km(FSFixed value) {
    return value / 65536.0;
}

const CFSTerrainStorage& Terrain(const std::string& name) {
    static std::map<std::string, std::unique_ptr<CFSTerrainStorage>> loaded;
    std::unique_ptr<CFSTerrainStorage>& terrain = loaded[name];
    if (!terrain) {
        terrain = std::make_unique<CFSTerrainStorage>();
        EXPECT_TRUE(terrain->Load(MakeDataPath("data\\terrains.zip"), name, 17, true)) << name;
    }
    return *terrain;
}

int LayerOf(const CFSTerrainStorage& terrain, const std::string& name) {
    for (size_t k = 0; k < terrain.Layers().size(); ++k) {
        if (terrain.Layers()[k].name == name) return static_cast<int>(k);
    }
    return -1;
}

TEST(TerrainData, EveryTerrainCoversTheWorldAndDrawsWithoutGapsOrJumps) {
    for (const char* name : kTerrainNames) {
        SCOPED_TRACE(name);
        const CFSTerrainStorage& t = Terrain(name);
        ASSERT_TRUE(t.IsLoaded());
        EXPECT_EQ(t.Side(), FixedFromInt(240));  // it wraps with the world
        const int layers = static_cast<int>(t.Layers().size());
        // Every layer has a texture and a coordinate set for every band.
        ASSERT_FALSE(t.Bands().empty());
        EXPECT_EQ(t.DrawableBands(), static_cast<int>(t.Bands().size()));
        // Bands in order, each fading in before the one in front ends, their squares
        // (compared with squared distances) not saturated.
        for (size_t b = 0; b < t.Bands().size(); ++b) {
            const FSTerrainBand& band = t.Bands()[b];
            const bool follows = b == 0
                                     ? band.start == 0
                                     : band.start < t.Bands()[b - 1].end && band.end > t.Bands()[b - 1].end;
            EXPECT_TRUE(follows && band.start < band.end && band.endSquared < kFixedMax) << "band " << b;
        }
        // Every nibble of the material map is empty or names a layer above the base.
        int strayNibbles = 0;
        for (int k = 0; k < 128 * 128; ++k) {
            const uint8_t m = t.MaterialByte(k % 128, k / 128);
            for (int nibble : {m & 15, m >> 4})
                strayNibbles += nibble != 0 && (nibble < 2 || nibble > layers);
        }
        EXPECT_EQ(strayNibbles, 0);
        // The game widens each coordinate set beyond the seam by adding 12.0 to the copies;
        // the steps there must be the steps everywhere else, or the textures jump.
        const int e = t.ExtendedSide();
        for (int set = 0; set < t.TextureSetCount(); ++set) {
            const std::vector<FSFixed>& uv = t.ExtendedTextureCoordinates(set);
            const auto at = [&](int a, int b, int k) { return uv[2 * (a + static_cast<size_t>(e) * b) + k]; };
            const FSFixed step = at(1, 0, 0) - at(0, 0, 0);
            int uneven = step <= 0;
            for (int k = 0; k < (e - 1) * (e - 1); ++k) {
                const int a = k % (e - 1), b = k / (e - 1);
                uneven += std::abs(at(a + 1, b, 0) - at(a, b, 0) - step) > 1 ||
                          std::abs(at(a, b + 1, 1) - at(a, b, 1) - step) > 1;
            }
            EXPECT_EQ(uneven, 0) << "set " << set;
        }
    }
}

TEST(TerrainData, HeightsSuitTheFlyingAndJoinAcrossTheSeam) {
    for (const char* name : kTerrainNames) {
        SCOPED_TRACE(name);
        const CFSTerrainStorage& t = Terrain(name);
        ASSERT_TRUE(t.IsLoaded());
        const auto at = [&t](int axis, int along, int across) {
            return Km((axis == 0 ? t.Height(along, across) : t.Height(across, along)) - kSeaLevel);
        };
        std::vector<double> heights;
        for (int k = 0; k < 128 * 128; ++k)
            heights.push_back(at(0, k % 128, k / 128));
        const auto [lo, hi] = std::minmax_element(heights.begin(), heights.end());
        // Some relief; the valley between snowy mountains.
        EXPECT_TRUE(*lo >= -0.05 && *hi <= 3.0 && *hi >= (name == std::string("valley.ter") ? 2.0 : 0.8))
            << *lo << " to " << *hi;
        // The seam: continuing each row (and column) in a straight line across the edge
        // misses the next height by no more than it does anywhere else, on average.
        for (int axis = 0; axis < 2; ++axis) {
            std::vector<double> miss(128, 0.0);
            for (int k = 0; k < 128 * 128; ++k) {
                const int i = k % 128, m = k / 128;
                miss[i] += std::fabs(at(axis, i, m) - (2 * at(axis, i - 1, m) - at(axis, i - 2, m))) / 128;
            }
            std::vector<double> sorted = miss;
            std::sort(sorted.begin(), sorted.end());
            // Columns 0 and 1 are the ones whose continuation crosses the seam.
            EXPECT_LT(std::max(miss[0], miss[1]), 2.5 * sorted[64] + 1e-4) << "axis " << axis;
        }
    }
    // The coast's sea is one level surface at sea level over a good part of the world.
    const CFSTerrainStorage& coast = Terrain("coast.ter");
    const int water = LayerOf(coast, "water");
    ASSERT_GE(water, 1);
    int sea = 0, sloping = 0;
    for (int k = 0; k < 128 * 128; ++k) {
        const bool wet = coast.LayerWeight(water, k % 128, k / 128) != 0;
        sea += wet;
        sloping += wet && coast.Height(k % 128, k / 128) != kSeaLevel;
    }
    EXPECT_EQ(sloping, 0);
    EXPECT_TRUE(sea > 128 * 128 / 3 && sea < 128 * 128 * 9 / 10) << sea;
}

TEST(TerrainData, EveryLayerTextureIsAPowerOfTwoPictureThatRepeatsWithoutASeam) {
    std::set<std::string> used;
    for (const char* name : kTerrainNames) {
        for (const FSTerrainLayer& layer : Terrain(name).Layers())
            used.insert(layer.textureNames.begin(), layer.textureNames.end());
    }
    EXPECT_GE(used.size(), 14u);  // seven grounds, near and far
    for (const std::string& member : used) {
        FSPngImage image;
        ASSERT_TRUE(ReadPng(MakeDataPath("data\\textures.zip"), member, image)) << member;
        EXPECT_TRUE(PowerOfTwo(image.width) && PowerOfTwo(image.height) && image.width >= 64 &&
                    image.width <= 256)
            << member;
        // The step from the last column (row) to the first is no larger than the steps
        // between the columns (rows) inside, on average.
        for (bool columns : {true, false}) {
            const int count = columns ? image.width : image.height;
            double inside = 0;
            for (int k = 0; k + 1 < count; ++k)
                inside += Step(image, columns, k) / (count - 1);
            EXPECT_LT(Step(image, columns, count - 1), 2.0 * inside + 1.0) << member << " " << columns;
        }
    }
}

TEST(TerrainData, TheDocumentedFlatAreasAreLevelAndDry) {
    // As README.md lists them for route authors: the cell, the centre's local position
    // (km), the size along x and z (km) and the ground's height above the sea (km).
    struct Documented {
        const char* terrain;
        int column, row;
        double x, z, sizeX, sizeZ, height;
    };
    const Documented areas[] = {
        {"valley.ter", 1, 0, -5.625, -13.125, 7.5, 11.25, 0.15},
        {"valley.ter", 1, 2, -1.875, -7.5, 11.25, 7.5, 0.14},
        {"coast.ter", 1, 1, -1.875, 7.5, 11.25, 7.5, 0.35},
        {"coast.ter", 2, 0, -3.75, 11.25, 11.25, 7.5, 0.10},
        {"coast.ter", 0, 2, 7.5, -20.625, 7.5, 11.25, 0.12},
        {"farmland.ter", 1, 1, -9.375, 7.5, 11.25, 7.5, 0.30},
        {"farmland.ter", 2, 3, 18.75, -20.625, 7.5, 11.25, 0.45},
    };
    for (const Documented& a : areas) {
        SCOPED_TRACE(std::string(a.terrain) + " area at " + std::to_string(a.x) + "," + std::to_string(a.z));
        const CFSTerrainStorage& t = Terrain(a.terrain);
        ASSERT_TRUE(t.IsLoaded());
        const int water = LayerOf(t, "water");
        double worst = 0;
        int wet = 0;
        // Probes every few hundred metres, from a metre inside one edge to a metre inside
        // the other: the ground the game finds there, in the cell's local coordinates.
        for (int k = 0; k < 17 * 17; ++k) {
            const double x = a.x - a.sizeX / 2 + 0.001 + (a.sizeX - 0.002) * (k % 17) / 16;
            const double z = a.z - a.sizeZ / 2 + 0.001 + (a.sizeZ - 0.002) * (k / 17) / 16;
            const FSFixedVector local{DoubleToFixed(x), DoubleToFixed(a.height) + kSeaLevel,
                                      DoubleToFixed(z)};
            worst = std::max(worst, std::fabs(Km(t.HeightAboveAt(local, {a.column, a.row}))));
            const FSTile tile = t.TileOf(local, {a.column, a.row});
            wet += t.LayerWeight(water, tile.column, tile.row) != 0;
        }
        EXPECT_LT(worst, 0.001);
        EXPECT_EQ(wet, 0);
    }
}

TEST(TerrainData, TheWriterRefusesInconsistentRecordsAndTheGameReadsWhatItWrites) {
    TerrainFile file;
    file.size = 4;
    file.side = 4.0;  // 1 km between vertices
    file.materials.assign(16, 0);
    file.bands = {{0.0, 10.0}};
    file.layers = {{"grass", 0, {"terrain/grass.png"}}};
    // A plane rising 0.5 km per km along x (and back down across the seam).
    for (int k = 0; k < 16; ++k)
        file.heights.push_back(ToFixed(0.5 * (k % 4)));
    TerrainFile shortHeights = file, missingTexture = file, sixLayers = file;
    shortHeights.heights.pop_back();
    missingTexture.bands.push_back({5.0, 20.0});
    sixLayers.layers.assign(6, file.layers.front());
    for (const TerrainFile* spoilt : {&shortHeights, &missingTexture, &sixLayers})
        EXPECT_TRUE(EncodeTerrain(*spoilt).empty());

    const std::vector<uint8_t> bytes = EncodeTerrain(file);
    CFSTerrainStorage terrain;
    ASSERT_TRUE(terrain.LoadFromMemory(bytes.data(), bytes.size(), 3, true));
    EXPECT_EQ(terrain.GetGridSize(), 4);
    EXPECT_EQ(terrain.Side(), FixedFromInt(4));
    EXPECT_EQ(terrain.Bands()[0].end, FixedFromInt(10));
    EXPECT_EQ(terrain.Layers()[0].textureNames, std::vector<std::string>{"terrain/grass.png"});
    // On the slope the ground is where the heights put it, its normal tilted against the rise.
    for (const FSFixedVector& p : {FSFixedVector{DoubleToFixed(1.25), 0, DoubleToFixed(2.5)},
                                   FSFixedVector{DoubleToFixed(0.5), 0, DoubleToFixed(1.75)}}) {
        EXPECT_NEAR(Km(terrain.HeightAbove(p)), -0.5 * Km(p.x), 1e-4);
        const FSFixedVector n = terrain.GroundNormal(p);
        const double k = 1.0 / std::sqrt(1.25);
        EXPECT_NEAR(Km(n.x), -0.5 * k, 2e-5);
        EXPECT_NEAR(Km(n.y), k, 2e-5);
        EXPECT_NEAR(Km(n.z), 0.0, 2e-5);
    }
}

}  // namespace
