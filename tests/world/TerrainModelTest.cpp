// The terrain window, its index lists and its quadtree, without drawing.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "world/FSCamera.h"
#include "world/FSTerrainModel.h"
#include "world/TerrainTestFiles.h"
#include "world/WorldTestNodes.h"

using terrain_test::TerrainsArchive;
using world_test::F;

namespace {

TEST(TerrainQuadtree, AllocatesAsManyNodesAsTheWindowNeeds) {
    for (const auto& [window, nodes] :
         std::vector<std::pair<int, size_t>>{{17, 341}, {20, 542}, {2, 1}, {33, 1365}})
        EXPECT_EQ(TerrainQuadtreeCapacity(window), nodes) << window;

    CFSTerrainQuadtree tree;
    tree.Build(17, FixedFromInt(2));
    EXPECT_EQ(tree.NodeCount(), 341u);  // the full tree of a 16 × 16 square
    // Whatever the window, the nodes fit what was set aside, every square has exactly one
    // leaf, and each leaf owns its square's two triangles.
    for (int32_t w = 2; w <= 255; w += w < 80 ? 1 : 7) {
        tree.Build(w, 122880);
        ASSERT_LE(tree.NodeCount(), tree.Capacity()) << w;
        const int32_t s = w - 1;
        std::set<int32_t> squares;
        for (const FSTerrainQuadNode& node : tree.Nodes()) {
            if (node.childCount != 0) continue;
            ASSERT_EQ(node.width, 1);
            ASSERT_EQ(node.height, 1);
            ASSERT_EQ(node.firstTriangle, (node.column + node.row * s) * 2);
            squares.insert(node.column + node.row * s);
        }
        ASSERT_EQ(squares.size(), static_cast<size_t>(s) * s) << w;
    }
}

TEST(TerrainWindow, FollowsTheCameraAcrossTheSeamInOneToFourPieces) {
    CFSTerrainModel terrain;
    ASSERT_TRUE(terrain.Load(TerrainsArchive(), "valley.ter", 33, true));
    // The full list holds two triangles per square, row by row: square (c, r) = (5, 7)
    // starts at vertex k = 7 × 33 + 5.
    const std::vector<uint16_t>& indices = terrain.FullIndices();
    ASSERT_EQ(indices.size(), 32u * 32u * 6u);
    EXPECT_EQ(std::vector<uint16_t>(indices.begin(), indices.begin() + 6),
              (std::vector<uint16_t>{0, 34, 1, 0, 33, 34}));
    const uint16_t k = 7 * 33 + 5;
    EXPECT_EQ(
        std::vector<uint16_t>(indices.begin() + (5 + 7 * 32) * 6, indices.begin() + (5 + 7 * 32) * 6 + 6),
        (std::vector<uint16_t>{k, uint16_t(k + 34), uint16_t(k + 1), k, uint16_t(k + 33), uint16_t(k + 34)}));
    const int32_t n = terrain.GetGridSize();
    const FSFixed s = terrain.Spacing();
    // Eye positions (cell, local) whose grid vertex puts the window wholly inside the
    // field, over the right edge, over the bottom edge, and over both.
    struct Eye {
        FSCell cell;
        FSFixedVector local;
    };
    for (const Eye& eye : {Eye{{1, 1}, {F(1.0), F(2), F(2.0)}}, Eye{{3, 1}, {F(25.0), F(2), F(-3.0)}},
                           Eye{{1, 0}, {F(-3.0), F(2), F(-28.5)}}, Eye{{0, 3}, {F(-29.0), F(2), F(29.9)}}}) {
        terrain.Prepare(eye.local, eye.cell, false);
        const FSFixedVector p = CFSTerrainStorage::TerrainPosition(eye.local, eye.cell);
        const int32_t column =
            static_cast<int32_t>(((p.x % terrain.Side()) + terrain.Side()) % terrain.Side() / s);
        const int32_t row =
            static_cast<int32_t>(((p.z % terrain.Side()) + terrain.Side()) % terrain.Side() / s);
        EXPECT_EQ(terrain.OriginColumn(), (column - 16 + n) % n);
        EXPECT_EQ(terrain.OriginRow(), (row - 16 + n) % n);
        const std::vector<FSFixedVector>& positions = terrain.Positions();
        for (int32_t b = 0; b < 33; ++b) {
            for (int32_t a = 0; a < 33; ++a) {
                const FSFixedVector& v = positions[a + 33 * b];
                ASSERT_EQ(v.x, a * s);
                ASSERT_EQ(v.z, b * s);
                ASSERT_EQ(v.y, terrain.Height(terrain.OriginColumn() + a, terrain.OriginRow() + b))
                    << a << "," << b;
            }
        }
        // The texture coordinates run on evenly across the seam in both bands.
        for (int32_t set = 0; set < 2; ++set) {
            const std::vector<FSFixed>& uv = terrain.WindowTextureCoordinates(set);
            const FSFixed step = FixedFromInt(12) / n;
            for (int32_t b = 0; b < 33; ++b) {
                for (int32_t a = 0; a + 1 < 33; ++a) {
                    ASSERT_EQ(uv[2 * (a + 1 + 33 * b)] - uv[2 * (a + 33 * b)], step);
                    ASSERT_EQ(uv[2 * (b + 33 * (a + 1)) + 1] - uv[2 * (b + 33 * a) + 1], step);
                }
            }
        }
        // The drawing offset is the eye in window coordinates: its vertex sits at 16.
        const FSFixedVector& offset = terrain.DrawingOffset();
        const FSFixed wrappedX = ((p.x % terrain.Side()) + terrain.Side()) % terrain.Side();
        EXPECT_EQ(offset.x, 16 * s + (wrappedX - column * s));
        EXPECT_EQ(offset.y, eye.local.y);
        // Window vertex 16 lies under the eye, less than a spacing behind it.
        EXPECT_GE(offset.x - positions[16].x, 0);
        EXPECT_LT(offset.x - positions[16].x, s);
    }
}

TEST(TerrainWindow, AnyWindowSizeCentresTheEyeOnItsGridVertex) {
    CFSTerrainModel terrain;
    ASSERT_TRUE(terrain.Load(TerrainsArchive(), "coast.ter", 34, true));
    const FSFixed s = terrain.Spacing();
    terrain.Prepare({F(0.9), F(1), F(0.9)}, {2, 2}, false);
    // Terrain x 150.9: vertex 80; an even window starts (34 − 1) / 2 = 16 before it.
    EXPECT_EQ(terrain.OriginColumn(), 80 - 16);
    // The eye's vertex is window vertex 16, so the offset puts the eye 0.9 km past it.
    EXPECT_EQ(terrain.DrawingOffset().x, 16 * s + (F(150.9) - 80 * s));
    // The ground drawn under the eye is the ground the queries answer for.
    EXPECT_EQ(terrain.Positions()[16 + 34 * 16].y, terrain.Height(80, 80));
    // Setting the window size rebuilds it around the same vertex.
    for (int w : {65, 17, 20, 49}) {
        terrain.SetWindowSize(w);
        EXPECT_EQ(terrain.WindowSize(), w);
        EXPECT_EQ(terrain.Quadtree().Capacity(), TerrainQuadtreeCapacity(w));
        EXPECT_EQ(terrain.FullIndices().size(), static_cast<size_t>(w - 1) * (w - 1) * 6);
        EXPECT_EQ((terrain.OriginColumn() + (w - 1) / 2) % 128, 80);
        EXPECT_EQ((terrain.OriginRow() + (w - 1) / 2) % 128, 80);
        EXPECT_EQ(terrain.ExtendedSide(), 128 + w);
    }
}

TEST(TerrainWindow, TheQuadtreeKeepsEveryTriangleInViewAndDropsThoseBehind) {
    CFSTerrainModel terrain;
    ASSERT_TRUE(terrain.Load(TerrainsArchive(), "valley.ter", 49, true));
    const FSFixedVector eye{F(3), F(1.5), F(-4)};
    const FSCell cell{2, 1};
    terrain.Prepare(eye, cell, false);

    CFSCamera camera;
    camera.SetPerspectiveMatrix(60.0f, 0.75f, 0.001f, 40.0f);
    camera.SetCell(cell);
    camera.SetView(eye, {eye.x + F(10), eye.y - F(1), eye.z + F(4)}, {0, kFixedOne, 0}, 0);
    // The terrain transform as the drawing builds it.
    FSFixedMatrix rotation;
    ASSERT_TRUE(BuildViewRotation(camera.Eye(), camera.Target(), camera.Up(), 0, rotation));
    FSFixedMatrix translation = FSFixedMatrix::Identity();
    const FSFixedVector offset = terrain.DrawingOffset();
    translation.At(0, 3) = -offset.x;
    translation.At(1, 3) = -offset.y;
    translation.At(2, 3) = -offset.z;
    const FSFixedMatrix transform = Multiply(rotation, translation);
    camera.ExtractTerrainPlanes(transform);

    CFSTerrainQuadtree tree = terrain.Quadtree();
    std::vector<int32_t> collected;
    const int count = tree.Collect(camera, 77, collected);
    ASSERT_EQ(count, static_cast<int>(collected.size()));
    const std::set<int32_t> visible(collected.begin(), collected.end());
    EXPECT_EQ(visible.size(), collected.size());  // no triangle twice
    // Independently: project each vertex with projection × transform and see whether it
    // lies inside the clip volume.
    const FSFixedMatrix clip = Multiply(camera.ProjectionMatrix(), transform);
    auto inside = [&](const FSFixedVector& v) {
        double c[4];
        for (int r = 0; r < 4; ++r)
            c[r] = (clip.At(r, 0) / 65536.0) * (v.x / 65536.0) + (clip.At(r, 1) / 65536.0) * (v.y / 65536.0) +
                   (clip.At(r, 2) / 65536.0) * (v.z / 65536.0) + clip.At(r, 3) / 65536.0;
        return c[3] > 0 && std::fabs(c[0]) < c[3] && std::fabs(c[1]) < c[3] && std::fabs(c[2]) < c[3];
    };
    const std::vector<uint16_t>& indices = terrain.FullIndices();
    const std::vector<FSFixedVector>& positions = terrain.Positions();
    int seen = 0, behind = 0;
    for (int32_t t = 0; t < static_cast<int32_t>(indices.size() / 3); ++t) {
        bool anyInside = false;
        bool allBehind = true;
        for (int c = 0; c < 3; ++c) {
            const FSFixedVector& v = positions[indices[3 * t + c]];
            anyInside = anyInside || inside(v);
            // Behind the eye along the view: more than 3 km back (beyond any sphere's reach).
            const double along =
                ((v.x - offset.x) * 10.0 - (v.y - offset.y) + (v.z - offset.z) * 4.0) / 65536.0;
            allBehind = allBehind && along / std::sqrt(117.0) < -6.0;
        }
        if (anyInside) {
            ++seen;
            EXPECT_EQ(visible.count(t), 1u) << "triangle " << t << " is in view but was culled";
        }
        if (allBehind) {
            ++behind;
            EXPECT_EQ(visible.count(t), 0u) << "triangle " << t << " is behind the eye";
        }
    }
    EXPECT_GT(seen, 200);
    EXPECT_GT(behind, 500);
    // The leaves of the collected triangles carry the stamp, the others do not.
    int stamped = 0;
    for (const FSTerrainQuadNode& node : tree.Nodes()) {
        if (node.childCount != 0) continue;
        const bool drawn = visible.count(node.firstTriangle) == 1;
        EXPECT_EQ(node.stamp == 77, drawn);
        stamped += drawn ? 1 : 0;
        EXPECT_EQ(tree.IsStamped(node.column, node.row, 77), drawn);
    }
    EXPECT_EQ(stamped * 2, count);
    EXPECT_FALSE(tree.IsStamped(-1, 0, 77));
    EXPECT_FALSE(tree.IsStamped(48, 0, 77));
}

}  // namespace
