// Height, slope and tile queries of the real terrains, checked against the stored heights.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

#include "world/FSTerrainStorage.h"
#include "world/TerrainTestFiles.h"
#include "world/WorldTestNodes.h"

using terrain_test::kTerrainNames;
using terrain_test::ReadStoredGrid;
using terrain_test::StoredGrid;
using terrain_test::TerrainsArchive;
using world_test::F;
using world_test::TestNode;

namespace {

constexpr double kMetre = 0.001;  // km

double Km(FSFixed value) {
    return value / 65536.0;
}

TEST(Terrain, LoadsTheRealTerrainsWithTheirMaterialsAndBandsAndNothingMissing) {
    for (const char* name : kTerrainNames) {
        CFSTerrainStorage terrain;
        ASSERT_TRUE(terrain.Load(TerrainsArchive(), name, 33, true)) << name;
        EXPECT_EQ(terrain.GetGridSize(), 128) << name;
        EXPECT_EQ(terrain.Side(), FixedFromInt(240));
        EXPECT_EQ(terrain.Spacing(), 122880);  // 1.875 km
        EXPECT_EQ(terrain.WindowSize(), 33);
        EXPECT_GE(terrain.Layers().size(), 4u) << name;
        ASSERT_EQ(terrain.Bands().size(), 2u);
        EXPECT_EQ(terrain.Bands()[0].endSquared, FixedFromInt(256));  // 16 km, squared
        EXPECT_EQ(terrain.DrawableBands(), 2);
        EXPECT_EQ(terrain.Layers()[0].name, "grass");
        EXPECT_EQ(terrain.Layers()[0].textureNames[1], "terrain/grass_far.png");
        // No GL context here: the textures wait for the first drawing.
        EXPECT_FALSE(terrain.TexturesFetched());
        // Without the full flag only what the height queries need is read.
        CFSTerrainStorage heightsOnly;
        ASSERT_TRUE(heightsOnly.Load(TerrainsArchive(), name, 33, false));
        EXPECT_TRUE(heightsOnly.Layers().empty());
        EXPECT_TRUE(heightsOnly.Bands().empty());
        EXPECT_EQ(heightsOnly.HeightAbove({F(100), F(5), F(100)}),
                  terrain.HeightAbove({F(100), F(5), F(100)}));
    }
    // A missing member or archive loads nothing and takes the loaded terrain away.
    CFSTerrainStorage terrain;
    ASSERT_TRUE(terrain.Load(TerrainsArchive(), "valley.ter", 33, true));
    EXPECT_FALSE(terrain.Load(TerrainsArchive(), "nowhere.ter", 33, true));
    EXPECT_FALSE(terrain.IsLoaded());
    EXPECT_EQ(terrain.GetGridSize(), 0);
    EXPECT_EQ(terrain.WindowSize(), 0);
    EXPECT_TRUE(terrain.Layers().empty());
    EXPECT_EQ(terrain.TileOf({0, 0, 0}, {0, 0}), FSTile{});
    EXPECT_EQ(terrain.HeightAbove({F(10), F(3), F(10)}), F(3));
    EXPECT_FALSE(terrain.Load(MakeDataPath("data\\no-such-archive.zip"), "valley.ter", 33, true));
    EXPECT_FALSE(terrain.Load(TerrainsArchive(), "", 33, true));
}

TEST(Terrain, HeightsFollowTheTrianglesOfTheStoredGrid) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> across(0.0, 240.0);
    for (const char* name : kTerrainNames) {
        const StoredGrid grid = ReadStoredGrid(name);
        ASSERT_EQ(grid.n, 128);
        CFSTerrainStorage terrain;
        ASSERT_TRUE(terrain.Load(TerrainsArchive(), name, 33, false));
        double worst = 0;
        for (int k = 0; k < 3000; ++k) {
            const double x = across(random), z = across(random), y = 3.0;
            const double above = Km(terrain.HeightAbove({F(x), F(y), F(z)}));
            worst = std::max(worst, std::fabs(above - (y - grid.Ground(x, z))));
        }
        EXPECT_LT(worst, 0.5 * kMetre) << name;
        // At every vertex the ground is the stored height.
        for (int j = 0; j < 128; j += 9) {
            for (int i = 0; i < 128; i += 7) {
                const double x = i * grid.Spacing(), z = j * grid.Spacing();
                EXPECT_NEAR(-Km(terrain.HeightAbove({F(x), 0, F(z)})), grid.Height(i, j), 0.2 * kMetre);
            }
        }
    }
}

TEST(Terrain, LocalPositionsInCellsAndOutsideTheFieldMapOntoIt) {
    CFSTerrainStorage terrain;
    ASSERT_TRUE(terrain.Load(TerrainsArchive(), "coast.ter", 33, false));
    const StoredGrid grid = ReadStoredGrid("coast.ter");
    // Cell (2, 1), local (−7.5, 1.2, 12.25): terrain (142.5, 1.2, 102.25).
    const FSFixedVector local{F(-7.5), F(1.2), F(12.25)};
    const FSCell cell{2, 1};
    const FSFixedVector p = CFSTerrainStorage::TerrainPosition(local, cell);
    EXPECT_EQ(p.x, F(142.5));
    EXPECT_EQ(p.z, F(102.25));
    EXPECT_EQ(terrain.HeightAboveAt(local, cell), terrain.HeightAbove(p));
    EXPECT_NEAR(Km(terrain.HeightAboveAt(local, cell)), 1.2 - grid.Ground(142.5, 102.25), 0.5 * kMetre);
    EXPECT_EQ(terrain.GroundNormalAt(local, cell), terrain.GroundNormal(p));
    const FSTile tile = terrain.TileOf(local, cell);
    EXPECT_EQ(tile.column, 76);  // 142.5 / 1.875
    EXPECT_EQ(tile.row, 54);     // 102.25 / 1.875 = 54.53
    // A node asks through the tile map interface.
    TestNode node;
    node.SetCell(cell);
    node.Place(local);
    node.UpdateTerrainTile(terrain);
    EXPECT_EQ(node.GetTerrainTile(), tile);
    // Positions outside the field are wrapped into it.
    const FSFixedVector inside{F(0.4), F(2), F(17.2)};
    for (const FSFixedVector& outside :
         {FSFixedVector{F(-239.6), F(2), F(17.2)}, FSFixedVector{F(240.4), F(2), F(257.2)},
          FSFixedVector{F(480.4), F(2), F(-222.8)}}) {
        EXPECT_NEAR(terrain.HeightAbove(outside), terrain.HeightAbove(inside), 2);
        const FSGridLocation at = terrain.LocateGrid(outside);
        EXPECT_TRUE(at.column >= 0 && at.column < 128 && at.row >= 0 && at.row < 128)
            << at.column << "," << at.row;
    }
    // A local position far outside its cell: 2 × 60 + 90.4 + 30 is 240.4, that is 0.4.
    EXPECT_NEAR(terrain.HeightAboveAt({F(90.4), F(2), F(17.2)}, {2, 0}),
                terrain.HeightAboveAt({F(30.4), F(2), F(17.2)}, {3, 0}), 2);
}

TEST(Terrain, APointOnTheDiagonalUsesTheSecondNormal) {
    CFSTerrainStorage terrain;
    ASSERT_TRUE(terrain.Load(TerrainsArchive(), "valley.ter", 33, false));
    const StoredGrid grid = ReadStoredGrid("valley.ter");
    const FSFixed s = terrain.Spacing();
    for (int i : {0, 17, 90, 127}) {
        const int j = (i * 5 + 3) % 128;
        for (FSFixed t : {FSFixed{0}, FSFixed{1}, s / 3, s / 2, s - 1}) {
            const FSFixedVector p{i * s + t, 0, j * s + t};
            const FSGridLocation at = terrain.LocateGrid(p);
            EXPECT_EQ(at.column, i);
            EXPECT_EQ(at.row, j);
            EXPECT_EQ(at.fx, at.fz);
            EXPECT_EQ(at.triangle, 1);
            EXPECT_EQ(terrain.GroundNormal(p), terrain.FaceNormal(i, j, 1));
        }
        // Just off the diagonal toward larger x: the first normal.
        const FSFixedVector off{i * s + s / 2 + 64, 0, j * s + s / 2};
        EXPECT_EQ(terrain.LocateGrid(off).triangle, 0);
        EXPECT_EQ(terrain.GroundNormal(off), terrain.FaceNormal(i, j, 0));
        // Both triangles meet along the diagonal: the heights agree there.
        const double x = (i + 0.5) * grid.Spacing(), z = (j + 0.5) * grid.Spacing();
        EXPECT_NEAR(-Km(terrain.HeightAbove({F(x), 0, F(z)})), grid.Ground(x, z), 0.5 * kMetre);
    }
}

TEST(Terrain, TheLastColumnWrapsToTheFirstAcrossTheSeam) {
    for (const char* name : kTerrainNames) {
        CFSTerrainStorage terrain;
        ASSERT_TRUE(terrain.Load(TerrainsArchive(), name, 33, false));
        const StoredGrid grid = ReadStoredGrid(name);
        for (double z : {3.3, 61.0, 200.9}) {
            const FSGridLocation at = terrain.LocateGrid({F(239.99), 0, F(z)});
            EXPECT_EQ(at.column, 127);
            // The far corners are column 0's: near x = 240 the ground meets column 0's heights.
            const int j = static_cast<int>(z / grid.Spacing());
            const double fz = z / grid.Spacing() - j;
            const double atSeam = grid.Height(0, j) + fz * (grid.Height(0, j + 1) - grid.Height(0, j));
            EXPECT_NEAR(-Km(terrain.HeightAbove({F(239.99), 0, F(z)})), grid.Ground(239.99, z), 0.5 * kMetre);
            EXPECT_NEAR(-Km(terrain.HeightAbove({F(239.9999), 0, F(z)})), atSeam, 0.5 * kMetre);
        }
        // Column 3 near x = 30 and column 0 near x = −30 are neighbours: walking across the
        // seam in 1 m steps, the ground never jumps.
        for (int row = 0; row < 4; ++row) {
            const FSFixed z = F(-12.3 + row * 7.0);
            double previous = Km(terrain.HeightAboveAt({F(29.98), 0, z}, {3, row}));
            for (int step = 1; step <= 40; ++step) {
                const double x = 29.98 + step * kMetre;
                const FSCell cell{x < 30.0 ? 3 : 0, row};
                const double local = x < 30.0 ? x : x - 60.0;
                const double above = Km(terrain.HeightAboveAt({F(local), 0, z}, cell));
                EXPECT_NEAR(above, previous, 2 * kMetre) << name << " at " << x;
                previous = above;
            }
            // And seen from the other cell's side of the torus, the same place.
            EXPECT_EQ(terrain.HeightAboveAt({F(30.0), 0, z}, {3, row}),
                      terrain.HeightAboveAt({F(-30.0), 0, z}, {0, row}));
        }
    }
}

TEST(Terrain, NodesTouchTheGroundWithinAMetreOfIt) {
    CFSTerrainStorage terrain;
    ASSERT_TRUE(terrain.Load(TerrainsArchive(), "valley.ter", 33, false));
    const FSCell cell{1, 2};
    const FSFixed half = F(0.02);  // a 40 m box
    TestNode node;
    node.model = FSBox::FromCorners({-half, -half, -half}, {half, half, half});
    node.SetCell(cell);
    // The box's bottom corners (grown by 66) stand at (x ± 0.02, z ± 0.02) + 66.
    const FSFixed x = F(-11.0), z = F(4.0);
    FSFixed lowestAbove = kFixedMax;
    for (FSFixed dx : {-half - 66, half + 66})
        for (FSFixed dz : {-half - 66, half + 66})
            lowestAbove = std::min(lowestAbove, terrain.HeightAboveAt({x + dx, 0, z + dz}, cell));
    // lowestAbove is minus the highest ground under a corner.
    const FSFixed bottomAtGround = -lowestAbove;  // bottom y (before growing) that sits on it
    // 67 above is not below it; 66 above is.
    for (const auto& [above, touches] :
         std::vector<std::pair<FSFixed, bool>>{{F(0.010), false}, {67, false}, {66, true}, {-F(0.5), true}}) {
        node.Place({x, bottomAtGround + above + half + 66, z});
        node.SavePosition();
        EXPECT_EQ(terrain.TouchesGround(node), touches) << above;
    }
    // The swept box counts: a node that came down through the ground touches it.
    node.Place({x, bottomAtGround - F(0.3), z});
    node.Move({x, bottomAtGround + F(0.3), z});
    EXPECT_TRUE(terrain.TouchesGround(node));
    // Without a model the node's own position is tested.
    TestNode point;
    point.SetCell(cell);
    point.Place({x, -terrain.HeightAboveAt({x, 0, z}, cell) + F(0.002), z});
    point.SavePosition();
    EXPECT_FALSE(terrain.TouchesGround(point));
    point.Place({x, -terrain.HeightAboveAt({x, 0, z}, cell) + 50, z});
    EXPECT_TRUE(terrain.TouchesGround(point));
}

}  // namespace
