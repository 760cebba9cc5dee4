// The real terrains: loading, height, slope and tile queries, and the drawing window that
// follows the eye (without drawing; the terrain's culling is checked on its pictures).
// (That the ground follows the grid's triangles is checked on a small terrain of known
// heights, and the real terrains' heights by the data build's tests.)
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "world/FSTerrainModel.h"
#include "world/TerrainTestFiles.h"
#include "world/WorldTestNodes.h"

using terrain_test::kTerrainNames;
using terrain_test::TerrainsArchive;
using world_test::F;
using world_test::TestNode;

namespace {

constexpr double kMetre = 0.001;  // km

double Km(FSFixed value) {
    return value / 65536.0;
}

FSFixed Wrapped(FSFixed v, FSFixed side) {
    return ((v % side) + side) % side;
}

// A real terrain read for the height queries only, each read once.
const CFSTerrainStorage& Heights(const std::string& name) {
    static std::map<std::string, CFSTerrainStorage> loaded;
    CFSTerrainStorage& terrain = loaded[name];
    if (!terrain.IsLoaded()) {
        EXPECT_TRUE(terrain.Load(TerrainsArchive(), name, 33, false)) << name;
    }
    return terrain;
}

TEST(Terrain, LoadsTheRealTerrainsInFullOrForTheHeightsOnly) {
    for (const char* name : kTerrainNames) {
        CFSTerrainStorage full;
        ASSERT_TRUE(full.Load(TerrainsArchive(), name, 33, true)) << name;
        EXPECT_TRUE(full.GetGridSize() == 128 && full.Spacing() == 122880) << name;  // 1.875 km
        // No GL context: the textures wait for the first drawing. Without the full flag only
        // what the height queries need is read.
        const CFSTerrainStorage& heights = Heights(name);
        EXPECT_TRUE(!full.TexturesFetched() && !full.Layers().empty() && heights.Layers().empty() &&
                    heights.Bands().empty() && heights.Height(5, 7) == full.Height(5, 7))
            << name;
    }
    // A missing member or archive loads nothing and takes the loaded terrain away.
    CFSTerrainStorage terrain;
    ASSERT_TRUE(terrain.Load(TerrainsArchive(), "valley.ter", 33, true));
    EXPECT_FALSE(terrain.Load(TerrainsArchive(), "nowhere.ter", 33, true));
    EXPECT_TRUE(!terrain.IsLoaded() && terrain.Layers().empty() && terrain.TileOf({}, {0, 0}) == FSTile{});
    EXPECT_EQ(terrain.HeightAbove({F(10), F(3), F(10)}), F(3));
    EXPECT_FALSE(terrain.Load(MakeDataPath("data\\no-such-archive.zip"), "valley.ter", 33, true));
}

TEST(Terrain, LocalPositionsInCellsAndOutsideTheFieldMapOntoIt) {
    const CFSTerrainStorage& terrain = Heights("coast.ter");
    // Cell (2, 1), local (−7.5, 1.2, 12.25): terrain (142.5, 1.2, 102.25).
    const FSFixedVector local{F(-7.5), F(1.2), F(12.25)};
    const FSCell cell{2, 1};
    const FSFixedVector p = CFSTerrainStorage::TerrainPosition(local, cell);
    EXPECT_EQ(p, (FSFixedVector{F(142.5), F(1.2), F(102.25)}));
    EXPECT_EQ(terrain.HeightAboveAt(local, cell), terrain.HeightAbove(p));
    EXPECT_EQ(terrain.GroundNormalAt(local, cell), terrain.GroundNormal(p));
    EXPECT_EQ(terrain.TileOf(local, cell), (FSTile{76, 54}));  // 142.5 and 102.25 over 1.875
    // Positions outside the field, and local positions far outside their cell, are wrapped.
    for (const FSFixedVector& outside :
         {FSFixedVector{F(-239.6), F(2), F(17.2)}, FSFixedVector{F(240.4), F(2), F(257.2)},
          FSFixedVector{F(480.4), F(2), F(-222.8)}}) {
        EXPECT_NEAR(terrain.HeightAbove(outside), terrain.HeightAbove({F(0.4), F(2), F(17.2)}), 2);
        const FSGridLocation at = terrain.LocateGrid(outside);
        EXPECT_TRUE(at.column >= 0 && at.column < 128 && at.row >= 0 && at.row < 128)
            << at.column << "," << at.row;
    }
    EXPECT_NEAR(terrain.HeightAboveAt({F(90.4), F(2), F(17.2)}, {2, 0}),
                terrain.HeightAboveAt({F(30.4), F(2), F(17.2)}, {3, 0}), 2);
}

TEST(Terrain, APointOnTheDiagonalUsesTheSecondNormal) {
    const CFSTerrainStorage& terrain = Heights("valley.ter");
    const FSFixed s = terrain.Spacing();
    for (int i : {0, 17, 90, 127}) {
        const int j = (i * 5 + 3) % 128;
        for (FSFixed t : {FSFixed{0}, FSFixed{1}, s / 3, s - 1}) {
            const FSFixedVector p{i * s + t, 0, j * s + t};
            const FSGridLocation at = terrain.LocateGrid(p);
            EXPECT_TRUE(at.column == i && at.row == j && at.fx == at.fz) << i << " " << t;
            EXPECT_EQ(terrain.GroundNormal(p), terrain.FaceNormal(i, j, 1));
        }
        const FSFixedVector off{i * s + s / 2 + 64, 0, j * s + s / 2};  // just toward larger x
        EXPECT_EQ(terrain.GroundNormal(off), terrain.FaceNormal(i, j, 0));
    }
}

TEST(Terrain, TheLastColumnWrapsToTheFirstAcrossTheSeam) {
    for (const char* name : kTerrainNames) {
        const CFSTerrainStorage& terrain = Heights(name);
        for (double z : {3.3, 61.0, 200.9})
            EXPECT_EQ(terrain.LocateGrid({F(239.99), 0, F(z)}).column, 127);
        // Column 3 near x = 30 and column 0 near x = −30 are neighbours: walking across the
        // seam in 1 m steps, the ground never jumps.
        for (int row = 0; row < 4; ++row) {
            const FSFixed z = F(-12.3 + row * 7.0);
            double previous = Km(terrain.HeightAboveAt({F(29.98), 0, z}, {3, row}));
            for (int step = 1; step <= 40; ++step) {
                const double x = 29.98 + step * kMetre;
                const double above =
                    Km(terrain.HeightAboveAt({F(x < 30.0 ? x : x - 60.0), 0, z}, {x < 30.0 ? 3 : 0, row}));
                ASSERT_NEAR(above, previous, 2 * kMetre) << name << " at " << x;
                previous = above;
            }
        }
    }
}

TEST(Terrain, NodesTouchTheGroundWithinAMetreOfIt) {
    const CFSTerrainStorage& terrain = Heights("valley.ter");
    const FSCell cell{1, 2};
    const FSFixed half = F(0.02), x = F(-11.0), z = F(4.0);  // a 40 m box
    TestNode node, point;  // without a model the node's own position is tested
    node.model = world_test::Cube(0.02);
    // The box's bottom corners (grown by 66) stand at (x ± 0.02, z ± 0.02) ± 66; the bottom
    // that sits on the highest ground under them:
    FSFixed lowestAbove = kFixedMax;
    for (FSFixed dx : {-half - 66, half + 66})
        for (FSFixed dz : {-half - 66, half + 66})
            lowestAbove = std::min(lowestAbove, terrain.HeightAboveAt({x + dx, 0, z + dz}, cell));
    const FSFixed pointAbove = terrain.HeightAboveAt({x, 0, z}, cell);
    // 67 above is not below 1 m's 67 / 65536; 66 above is.
    const std::tuple<TestNode*, FSFixed, bool> cases[] = {{&node, -lowestAbove + half + 66 + F(0.010), false},
                                                          {&node, -lowestAbove + half + 66 + 67, false},
                                                          {&node, -lowestAbove + half + 66 + 66, true},
                                                          {&node, -lowestAbove + half + 66 - F(0.5), true},
                                                          {&point, -pointAbove + F(0.002), false},
                                                          {&point, -pointAbove + 50, true}};
    for (const auto& [n, y, touches] : cases) {
        n->SetCell(cell);
        n->Place({x, y, z});
        n->SavePosition();
        EXPECT_EQ(terrain.TouchesGround(*n), touches) << (n == &node) << " " << y;
    }
    node.Place({x, -lowestAbove - F(0.3), z});  // came down through the ground: the swept box
    node.Move({x, -lowestAbove + F(0.3), z});
    EXPECT_TRUE(terrain.TouchesGround(node));
}

TEST(TerrainWindow, FollowsTheEyeAcrossTheSeamInOneToFourPieces) {
    CFSTerrainModel terrain;
    ASSERT_TRUE(terrain.Load(TerrainsArchive(), "valley.ter", 33, true));
    // Two triangles per square, row by row: square (5, 7) starts at vertex 7 × 33 + 5.
    const std::vector<uint16_t>& indices = terrain.FullIndices();
    ASSERT_EQ(indices.size(), 32u * 32u * 6u);
    const uint16_t k = 7 * 33 + 5;
    EXPECT_EQ(
        std::vector<uint16_t>(indices.begin() + (5 + 7 * 32) * 6, indices.begin() + (5 + 7 * 32) * 6 + 6),
        (std::vector<uint16_t>{k, uint16_t(k + 34), uint16_t(k + 1), k, uint16_t(k + 33), uint16_t(k + 34)}));
    const int32_t n = terrain.GetGridSize();
    const FSFixed s = terrain.Spacing();
    // Eyes whose grid vertex puts the window wholly inside the field, over the right edge,
    // over the bottom edge, and over both.
    const std::pair<FSCell, FSFixedVector> eyes[] = {{{1, 1}, {F(1.0), F(2), F(2.0)}},
                                                     {{3, 1}, {F(25.0), F(2), F(-3.0)}},
                                                     {{1, 0}, {F(-3.0), F(2), F(-28.5)}},
                                                     {{0, 3}, {F(-29.0), F(2), F(29.9)}}};
    for (const auto& [cell, local] : eyes) {
        terrain.Prepare(local, cell, false);
        const FSFixedVector p = CFSTerrainStorage::TerrainPosition(local, cell);
        const int32_t column = Wrapped(p.x, terrain.Side()) / s, row = Wrapped(p.z, terrain.Side()) / s;
        EXPECT_TRUE(terrain.OriginColumn() == (column - 16 + n) % n &&
                    terrain.OriginRow() == (row - 16 + n) % n);
        for (int32_t v = 0; v < 33 * 33; ++v) {
            const int32_t a = v % 33, b = v / 33;
            ASSERT_EQ(terrain.Positions()[v],
                      (FSFixedVector{
                          a * s, terrain.Height(terrain.OriginColumn() + a, terrain.OriginRow() + b), b * s}))
                << a << "," << b;
        }
        // The texture coordinates run on evenly across the seam in both bands (u along a
        // row, v down a column).
        for (int32_t set = 0; set < 2; ++set) {
            const std::vector<FSFixed>& uv = terrain.WindowTextureCoordinates(set);
            for (int32_t a = 0; a + 1 < 33; ++a) {
                ASSERT_EQ(uv[2 * (a + 1 + 33 * 20)] - uv[2 * (a + 33 * 20)], FixedFromInt(12) / n) << a;
                ASSERT_EQ(uv[2 * (20 + 33 * (a + 1)) + 1] - uv[2 * (20 + 33 * a) + 1], FixedFromInt(12) / n)
                    << a;
            }
        }
        // The drawing offset is the eye in window coordinates: its vertex sits at 16.
        EXPECT_EQ(terrain.DrawingOffset().x, 16 * s + (Wrapped(p.x, terrain.Side()) - column * s));
    }
    // Any window size centres the eye's vertex: setting the size rebuilds around it.
    terrain.Prepare({F(0.9), F(1), F(0.9)}, {2, 2}, false);  // terrain x 150.9: vertex 80
    for (int w : {34, 65, 17, 20}) {
        terrain.SetWindowSize(w);
        EXPECT_TRUE(terrain.WindowSize() == w && terrain.ExtendedSide() == 128 + w &&
                    terrain.Quadtree().Capacity() == TerrainQuadtreeCapacity(w) &&
                    terrain.FullIndices().size() == static_cast<size_t>(w - 1) * (w - 1) * 6)
            << w;
        EXPECT_EQ((terrain.OriginColumn() + (w - 1) / 2) % 128, 80);
        EXPECT_EQ(terrain.Positions()[(w - 1) / 2 * (w + 1)].y, terrain.Height(80, 80));
    }
}

}  // namespace
