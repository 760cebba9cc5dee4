// The data build's low-poly mesh builder: what it writes must come back through the game's
// OBJ parser as outward-facing, textured triangles.
#include <gtest/gtest.h>

#include <cmath>

#include "databuild/MeshBuilder.h"
#include "tools/ArchiveTestSupport.h"

namespace {

using namespace archive_test;
using meshes::MeshBuilder;

FSMesh Parse(const MeshBuilder& builder) {
    return ParseObjText(builder.ToObj({"test"}));
}

TEST(MeshBuilder, FacesTurnAwayFromTheInsideWhicheverWayTheirCornersCome) {
    const meshes::UvRect region{0.25, 0.5, 0.75, 1.0};
    for (bool reversed : {false, true}) {
        MeshBuilder builder;
        std::vector<Vec3> square = {{0, 0, 1}, {2, 0, 1}, {2, 2, 1}, {0, 2, 1}};
        if (reversed) square = {square.rbegin(), square.rend()};
        builder.Face(square, {1, 1, 0}, region);
        const FSMesh mesh = Parse(builder);
        ASSERT_EQ(mesh.triangleCount, 2);
        EXPECT_EQ(BackwardNormals(mesh, 0.999), 0);  // wound the way it faces
        for (int v = 0; v < mesh.vertexCount; ++v) {
            EXPECT_EQ(MeshPoint(mesh.normals, v).z, 1.0);  // away from the inside
            // The region is laid over the face: its left edge at u0, its foot at v0.
            const Vec3 p = MeshPoint(mesh.positions, v);
            EXPECT_NEAR(mesh.texCoords[2 * v] / 65536.0, p.x == 0 ? 0.25 : 0.75, 1e-4);
            EXPECT_NEAR(mesh.texCoords[2 * v + 1] / 65536.0, p.y == 0 ? 0.5 : 1.0, 1e-4);
        }
    }
}

TEST(MeshBuilder, ClosedSolidsEncloseTheirVolumeOutwards) {
    const meshes::UvRect all;
    const auto check = [](const MeshBuilder& builder, double volume, double tolerance) {
        const FSMesh mesh = Parse(builder);
        EXPECT_NEAR(SignedVolume(mesh), volume, tolerance);
        EXPECT_EQ(BackwardNormals(mesh, 0.3), 0);
    };
    MeshBuilder box, frustum, pyramid;
    box.Box({-1, 0, -2}, {3, 2, 1}, all, all, true);
    check(box, 4.0 * 2.0 * 3.0, 1e-3);
    // V = pi h (r0^2 + r0 r1 + r1^2) / 3 for the round shape; 64 sides come within 1 %.
    frustum.Frustum(5, -3, 1, 2, 4, 1, 64, true, all, &all, true);
    check(frustum, 3.14159265 * 3 * (4 + 2 + 1) / 3, 0.22);
    // A pyramid on a 2 m^2 square, 2 m high.
    const double r = 1 / std::sqrt(2.0);
    pyramid.Cone(0, 0, 0, 1, 2, 4, false, all, 0.785398);
    pyramid.Face({{r, 0, r}, {-r, 0, r}, {-r, 0, -r}, {r, 0, -r}}, {0, 1, 0}, all);
    check(pyramid, 4.0 / 3.0, 1e-3);
    for (double overhang : {0.0, 0.5}) {
        // A gable roof over a 6 x 4 rectangle (eaves 3 m, ridge 4 m, slabs 0.5 m thick),
        // closed below by its two gable triangles and a ceiling at the eaves: the prism
        // under the slopes (2 m^2 x 6 m) and the two slabs, each as wide as it reaches out
        // (2 m + overhang) and as long as it reaches along (6 m + 2 overhang).
        MeshBuilder roof;
        roof.GableRoof(0, 0, 6, 4, 3, 4, true, overhang, 0.5, all, all);
        const Vec3 inside = {3, 3.5, 2};
        roof.Face({{0, 3, 0}, {0, 3, 4}, {0, 4, 2}}, inside, all);
        roof.Face({{6, 3, 0}, {6, 3, 4}, {6, 4, 2}}, inside, all);
        roof.Face({{0, 3, 0}, {6, 3, 0}, {6, 3, 4}, {0, 3, 4}}, inside, all);
        check(roof, 12 + 2 * (2 + overhang) * (6 + 2 * overhang) * 0.5, 1e-3);
    }
}

}  // namespace
