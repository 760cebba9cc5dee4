// The parts the aircraft models are built from: closed solids wound outwards, texture
// coordinates from skins, and painting that stays inside a skin's region of the atlas.
#include <gtest/gtest.h>

#include <cmath>

#include "databuild/AircraftShapes.h"

namespace {

using aircraft::Axis;
using aircraft::ShapeBuilder;
using aircraft::Skin;
using meshes::Vec3;

// Signed volume of the triangles (positive when they enclose it winding outwards) and the
// number of triangles whose stored normals disagree with their winding.
struct Solid {
    double volume = 0;
    int backwardNormals = 0;
    size_t triangles = 0;
};

Solid Measure(const ShapeBuilder& shapes) {
    const meshes::MeshBuilder mesh = shapes.ToMesh();
    // Read the triangles back from the OBJ text, the form the game gets them in.
    const std::string obj = mesh.ToObj({});
    std::vector<Vec3> v, n;
    Solid solid;
    size_t at = 0;
    while (at < obj.size()) {
        const size_t end = obj.find('\n', at);
        const std::string line = obj.substr(at, end - at);
        at = end + 1;
        Vec3 p;
        int a[3], b[3], c[3];
        if (std::sscanf(line.c_str(), "v %lf %lf %lf", &p.x, &p.y, &p.z) == 3) v.push_back(p);
        if (std::sscanf(line.c_str(), "vn %lf %lf %lf", &p.x, &p.y, &p.z) == 3) n.push_back(p);
        if (std::sscanf(line.c_str(), "f %d/%d/%d %d/%d/%d %d/%d/%d", &a[0], &a[1], &a[2], &b[0], &b[1],
                        &b[2], &c[0], &c[1], &c[2]) == 9) {
            const Vec3 &p0 = v[a[0] - 1], &p1 = v[b[0] - 1], &p2 = v[c[0] - 1];
            solid.volume += meshes::Dot(p0, meshes::Cross(p1, p2)) / 6.0;
            const Vec3 winding = meshes::Cross(p1 - p0, p2 - p0);
            for (int normal : {a[2], b[2], c[2]})
                solid.backwardNormals += meshes::Dot(n[normal - 1], winding) <= 0;
            ++solid.triangles;
        }
    }
    return solid;
}

Skin TestSkin() {
    Skin skin;
    skin.region = {16, 32, 64, 32};
    skin.uAxis = Axis::X;
    skin.vAxis = Axis::Y;
    skin.u0 = 0;
    skin.u1 = 4;
    skin.v0 = -1;
    skin.v1 = 1;
    skin.mirrorU = true;
    return skin;
}

TEST(AircraftShapes, PartsAreClosedSolidsOfTheirOwnVolumeWoundOutwards) {
    const Skin skin = TestSkin();
    {
        // A four-sided loft of two equal sections is a prism: a diamond of area 2 over 3 m.
        ShapeBuilder shapes;
        shapes.Loft({{1.5, 0, 1, 1}, {-1.5, 0, 1, 1}}, 4, skin, skin, false);
        const Solid solid = Measure(shapes);
        EXPECT_EQ(solid.triangles, 8u + 2u + 2u);
        EXPECT_NEAR(solid.volume, 6.0, 1e-4);
        EXPECT_EQ(solid.backwardNormals, 0);
    }
    {
        // Pointed at both ends and smoothed: two cones, still closed and outward.
        ShapeBuilder shapes;
        shapes.Loft({{2, 0, 0, 0}, {0, 0, 1, 1}, {-2, 0, 0, 0}}, 8, skin, skin, true);
        const Solid solid = Measure(shapes);
        EXPECT_EQ(solid.triangles, 16u);
        EXPECT_GT(solid.volume, 0.0);
        EXPECT_EQ(solid.backwardNormals, 0);
    }
    {
        // A box, a tube and a wing panel, and the same mirrored to the other side.
        ShapeBuilder half;
        half.Box({0.5, -1, -1}, {1.5, 1, 1}, skin);
        half.Tube({2, 0, 0}, {3, 0, 0}, 0.5, 0.5, 6, {0, 0, 1}, skin, true);
        half.Panel({{0, 1, 0}, 2.0, 0.2}, {{4, 0.5, 0.3}, 1.0, 0.1}, false, skin, skin);
        const Solid one = Measure(half);
        EXPECT_EQ(one.backwardNormals, 0);
        EXPECT_GT(one.volume, 4.0);  // the box alone is 4 m3
        ShapeBuilder both;
        both.Add(half);
        both.AddMirrored(half);
        const Solid two = Measure(both);
        EXPECT_EQ(two.backwardNormals, 0);
        EXPECT_NEAR(two.volume, 2 * one.volume, 1e-3);
    }
}

TEST(AircraftShapes, SkinsMirrorAcrossTheCentreLineAndClampToTheirRegion) {
    const Skin skin = TestSkin();
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
    const Skin skin = TestSkin();
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
