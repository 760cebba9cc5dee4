// The parts the aircraft models are built from: closed solids wound outwards, texture
// coordinates from skins, and painting that stays inside a skin's region of the atlas.
#include <gtest/gtest.h>

#include <vector>

#include "databuild/AircraftShapes.h"
#include "tools/ArchiveTestSupport.h"

namespace {

using aircraft::Axis;
using aircraft::ShapeBuilder;
using aircraft::Skin;
using archive_test::BackwardNormals;
using archive_test::OpenEdges;
using archive_test::SignedVolume;

const Skin kSkin{{16, 32, 64, 32}, Axis::X, Axis::Y, 0, 4, -1, 1, true};

// The shapes' triangles as the game gets them, from the OBJ text.
FSMesh Measure(const ShapeBuilder& shapes) {
    return archive_test::ParseObjText(shapes.ToMesh().ToObj({}));
}

TEST(AircraftShapes, PartsAreClosedSolidsOfTheirOwnVolumeWoundOutwards) {
    // A four-sided loft of two equal sections is a prism: a diamond of area 2 over 3 m.
    ShapeBuilder prism;
    prism.Loft({{1.5, 0, 1, 1}, {-1.5, 0, 1, 1}}, 4, kSkin, kSkin, false);
    // Pointed at both ends and smoothed: two cones.
    ShapeBuilder cones;
    cones.Loft({{2, 0, 0, 0}, {0, 0, 1, 1}, {-2, 0, 0, 0}}, 8, kSkin, kSkin, true);
    // A box (4 m3), a tube and a wing panel, and the same mirrored to the other side.
    ShapeBuilder half;
    half.Box({0.5, -1, -1}, {1.5, 1, 1}, kSkin);
    half.Tube({2, 0, 0}, {3, 0, 0}, 0.5, 0.5, 6, {0, 0, 1}, kSkin, true);
    half.Panel({{0, 1, 0}, 2.0, 0.2}, {{4, 0.5, 0.3}, 1.0, 0.1}, false, kSkin, kSkin);
    ShapeBuilder both;
    both.Add(half);
    both.AddMirrored(half);
    const auto check = [](const char* name, const ShapeBuilder& shapes, double lowest, double highest) {
        const FSMesh mesh = Measure(shapes);
        EXPECT_EQ(OpenEdges(mesh), 0) << name;
        EXPECT_EQ(BackwardNormals(mesh), 0) << name;
        EXPECT_TRUE(SignedVolume(mesh) >= lowest && SignedVolume(mesh) <= highest)
            << name << ": " << SignedVolume(mesh);
    };
    check("prism", prism, 6.0 - 1e-4, 6.0 + 1e-4);
    check("cones", cones, 0.5, 4.0);
    check("half", half, 4.0, 6.0);
    const double halfVolume = SignedVolume(Measure(half));
    check("both", both, 2 * halfVolume - 1e-3, 2 * halfVolume + 1e-3);
}

TEST(AircraftShapes, SkinsMirrorAcrossTheCentreLineAndClampToTheirRegion) {
    const meshes::UvRect uv = buildings::Uv(kSkin.region);
    double u, v, mirroredU, mirroredV;
    kSkin.TexCoord({1, 0, 5}, u, v);
    kSkin.TexCoord({-1, 0, -5}, mirroredU, mirroredV);
    EXPECT_DOUBLE_EQ(u, mirroredU);   // both wings share the plan view
    EXPECT_DOUBLE_EQ(v, mirroredV);   // z is not one of the skin's axes
    kSkin.TexCoord({9, 7, 0}, u, v);  // beyond the skin's extent: the region's corner
    EXPECT_DOUBLE_EQ(u, uv.u1);
    EXPECT_DOUBLE_EQ(v, uv.v1);
    // A one-colour skin samples the middle of its tile wherever the corner is.
    const Skin solid = aircraft::Solid({0, 0, 16, 16});
    const meshes::UvRect tile = buildings::Uv(solid.region);
    solid.TexCoord({3, -2, 8}, u, v);
    EXPECT_EQ(std::vector<double>({u, v}),
              std::vector<double>({(tile.u0 + tile.u1) / 2, (tile.v0 + tile.v1) / 2}));
}

TEST(AircraftShapes, PaintingStaysInsideTheSkinsRegion) {
    buildings::AtlasPainter atlas;
    aircraft::SkinPainter painter(atlas);
    painter.Fill(kSkin, {0, 0, 255, 255}, 0.0f);
    // Far larger than the skin: clipped to the region, nothing spills over.
    painter.Rect(kSkin, -50, 50, -50, 50, {255, 0, 0, 255});
    painter.Disc(kSkin, 4, 1, 30, {0, 255, 0, 255});
    const Canvas picture = atlas.Finish();
    const buildings::Region& r = kSkin.region;
    int inside = 0, outside = 0;
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
            const bool painted = picture.At(x, y).r > 200 || picture.At(x, y).g > 200;
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
