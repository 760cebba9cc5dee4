// The parts the aircraft models are built from: closed solids wound outwards, texture
// coordinates from skins, and painting that stays inside a skin's region of the atlas.
#include <gtest/gtest.h>

#include "databuild/AircraftShapes.h"
#include "tools/ArchiveTestSupport.h"

namespace {

using aircraft::Axis;
using aircraft::ShapeBuilder;
using aircraft::Skin;

// The shapes' triangles as the game gets them, from the OBJ text.
FSMesh Measure(const ShapeBuilder& shapes) {
    return archive_test::ParseObjText(shapes.ToMesh().ToObj({}));
}
using archive_test::BackwardNormals;
using archive_test::SignedVolume;

const Skin kSkin{{16, 32, 64, 32}, Axis::X, Axis::Y, 0, 4, -1, 1, true};

TEST(AircraftShapes, PartsAreClosedSolidsOfTheirOwnVolumeWoundOutwards) {
    const Skin& skin = kSkin;
    // A four-sided loft of two equal sections is a prism: a diamond of area 2 over 3 m.
    ShapeBuilder prism;
    prism.Loft({{1.5, 0, 1, 1}, {-1.5, 0, 1, 1}}, 4, skin, skin, false);
    const FSMesh prismMesh = Measure(prism);
    EXPECT_EQ(prismMesh.triangleCount, 8 + 2 + 2);
    EXPECT_NEAR(SignedVolume(prismMesh), 6.0, 1e-4);
    EXPECT_EQ(BackwardNormals(prismMesh), 0);
    // Pointed at both ends and smoothed: two cones, still closed and outward.
    ShapeBuilder cones;
    cones.Loft({{2, 0, 0, 0}, {0, 0, 1, 1}, {-2, 0, 0, 0}}, 8, skin, skin, true);
    const FSMesh conesMesh = Measure(cones);
    EXPECT_EQ(conesMesh.triangleCount, 16);
    EXPECT_GT(SignedVolume(conesMesh), 0.0);
    EXPECT_EQ(BackwardNormals(conesMesh), 0);
    // A box, a tube and a wing panel, and the same mirrored to the other side.
    ShapeBuilder half;
    half.Box({0.5, -1, -1}, {1.5, 1, 1}, skin);
    half.Tube({2, 0, 0}, {3, 0, 0}, 0.5, 0.5, 6, {0, 0, 1}, skin, true);
    half.Panel({{0, 1, 0}, 2.0, 0.2}, {{4, 0.5, 0.3}, 1.0, 0.1}, false, skin, skin);
    const FSMesh one = Measure(half);
    EXPECT_EQ(BackwardNormals(one), 0);
    EXPECT_GT(SignedVolume(one), 4.0);  // the box alone is 4 m3
    ShapeBuilder both;
    both.Add(half);
    both.AddMirrored(half);
    const FSMesh two = Measure(both);
    EXPECT_EQ(BackwardNormals(two), 0);
    EXPECT_NEAR(SignedVolume(two), 2 * SignedVolume(one), 1e-3);
}

TEST(AircraftShapes, SkinsMirrorAcrossTheCentreLineAndClampToTheirRegion) {
    const Skin& skin = kSkin;
    const meshes::UvRect uv = buildings::Uv(skin.region);
    double u, v, mirroredU, mirroredV;
    skin.TexCoord({1, 0, 5}, u, v);
    skin.TexCoord({-1, 0, -5}, mirroredU, mirroredV);
    EXPECT_DOUBLE_EQ(u, mirroredU);  // both wings share the plan view
    EXPECT_DOUBLE_EQ(v, mirroredV);  // z is not one of the skin's axes
    EXPECT_NEAR(u, uv.u0 + 0.25 * (uv.u1 - uv.u0), 1e-12);
    EXPECT_NEAR(v, (uv.v0 + uv.v1) / 2, 1e-12);
    skin.TexCoord({9, 7, 0}, u, v);  // beyond the skin's extent: the region's corner
    EXPECT_DOUBLE_EQ(u, uv.u1);
    EXPECT_DOUBLE_EQ(v, uv.v1);
    // Painting uses the same mapping, with the picture's y running down.
    const Point2 texel = skin.Texel(1, 1);
    EXPECT_FLOAT_EQ(texel.x, 16 + 16);
    EXPECT_FLOAT_EQ(texel.y, 32);
    // A one-colour skin samples the middle of its tile wherever the corner is.
    const Skin solid = aircraft::Solid({0, 0, 16, 16});
    const meshes::UvRect tile = buildings::Uv(solid.region);
    solid.TexCoord({3, -2, 8}, u, v);
    EXPECT_DOUBLE_EQ(u, (tile.u0 + tile.u1) / 2);
    EXPECT_DOUBLE_EQ(v, (tile.v0 + tile.v1) / 2);
}

TEST(AircraftShapes, PaintingStaysInsideTheSkinsRegion) {
    buildings::AtlasPainter atlas;
    aircraft::SkinPainter painter(atlas);
    const Skin& skin = kSkin;
    painter.Fill(skin, {0, 0, 255, 255}, 0.0f);
    // Far larger than the skin: clipped to the region, nothing spills over.
    painter.Rect(skin, -50, 50, -50, 50, {255, 0, 0, 255});
    painter.Disc(skin, 4, 1, 30, {0, 255, 0, 255});
    const Canvas picture = atlas.Finish();
    const buildings::Region& r = skin.region;
    int inside = 0, outside = 0;
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            const Rgba c = picture.At(x, y);
            const bool painted = c.r > 200 || c.g > 200;
            // The finished atlas carries each region's border a few texels outwards.
            const bool near = x >= r.x - 4 && x < r.x + r.w + 4 && y >= r.y - 4 && y < r.y + r.h + 4;
            if (!near) outside += painted;
            if (x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h) inside += painted;
        }
    }
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(inside, r.w * r.h);
}

}  // namespace
