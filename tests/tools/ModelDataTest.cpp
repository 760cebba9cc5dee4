// Every model of models.zip as the game's mesh loader gives it (16.16 fixed point), and the
// buildings and the hand-made cube in particular.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "tools/ArchiveTestSupport.h"

namespace {

using namespace archive_test;
using meshes::Cross;
using meshes::Dot;
using meshes::Normalised;

const std::string kModels = MakeDataPath("data\\models.zip");

TEST(ModelData, EveryModelLoadsLitOnItsFacingSideAndTexturedInsideItsAtlas) {
    CFSMeshLoader loader(kModels);
    int models = 0;
    for (const std::string& name : MemberNames(kModels)) {
        if (name.size() < 4 || name.compare(name.size() - 4, 4, ".obj") != 0) continue;
        SCOPED_TRACE(name);
        ++models;
        FSMesh mesh;
        ASSERT_TRUE(loader.LoadMesh(name, mesh));
        ASSERT_FALSE(mesh.IsEmpty());
        EXPECT_EQ(MemberText(kModels, name).find('\r'), std::string::npos);  // the loader cuts lines at LF
        // No sliver triangles; unit normals that lean towards the side the corners run
        // counter-clockwise round (back-face culling and the lighting both need that);
        // texture coordinates on the atlas.
        int slivers = 0, notUnit = 0, offAtlas = 0;
        for (int32_t uv : mesh.texCoords)
            offAtlas += uv < 0 || uv > 65536;
        for (int t = 0; t < mesh.triangleCount; ++t) {
            const Vec3 w = Winding(mesh, t);
            slivers += Dot(w, w) < 4e-12;
            for (int c = 0; c < 3; ++c) {
                const Vec3 n = MeshPoint(mesh.normals, 3 * t + c);
                notUnit += std::fabs(Dot(n, n) - 1.0) > 0.002;
            }
        }
        EXPECT_EQ(std::vector<int>({slivers, notUnit, offAtlas}), std::vector<int>({0, 0, 0}));
        EXPECT_EQ(BackwardNormals(mesh, 0.2), 0);
        if (name != "cube.obj") continue;
        // The hand-made cube: closed, wound outwards round its unit volume, one flat normal
        // per face.
        EXPECT_EQ(OpenEdges(mesh), 0);
        EXPECT_NEAR(SignedVolume(mesh), 1.0, 1e-9);
        EXPECT_EQ(BackwardNormals(mesh, 0.9999), 0);
    }
    EXPECT_GE(models, 1 + 7 + 5);  // the cube, the buildings, the aircraft
}

// Whether the ray from origin along direction meets triangle t of the mesh (Moller-Trumbore).
bool Hits(const FSMesh& mesh, int t, const Vec3& origin, const Vec3& direction) {
    const Vec3 p0 = MeshPoint(mesh.positions, 3 * t);
    const Vec3 e1 = MeshPoint(mesh.positions, 3 * t + 1) - p0, e2 = MeshPoint(mesh.positions, 3 * t + 2) - p0;
    const Vec3 h = Cross(direction, e2), s = origin - p0, q = Cross(s, e1);
    const double a = Dot(e1, h);
    const double u = Dot(s, h) / a, v = Dot(direction, q) / a;
    return std::fabs(a) > 1e-12 && u >= 0 && u <= 1 && v >= 0 && u + v <= 1 && Dot(e2, q) / a > 1e-6;
}

// The share of a building's surface area turned inside out: seen only from behind, such a
// face vanishes under back-face culling and shows the building's inside. A face counts
// when a ray straight out of its centre is stopped by the model while one straight in
// gets away: it meets no other triangle and does not end in the ground under the
// building, where nobody can look from.
double InsideOutShare(const FSMesh& mesh) {
    const auto escapes = [&mesh](int leaving, const Vec3& origin, const Vec3& direction) {
        const double t = direction.y < 0 ? -origin.y / direction.y : 0;
        const double x = origin.x + t * direction.x, z = origin.z + t * direction.z;
        if (direction.y < 0 && x > mesh.box[0] / 65536.0 && x < mesh.box[3] / 65536.0 &&
            z > mesh.box[2] / 65536.0 && z < mesh.box[5] / 65536.0) {
            return false;
        }
        for (int i = 0; i < mesh.triangleCount; ++i) {
            if (i != leaving && Hits(mesh, i, origin, direction)) return false;
        }
        return true;
    };
    double total = 0, turned = 0;
    for (int t = 0; t < mesh.triangleCount; ++t) {
        const Vec3 w = Winding(mesh, t), n = Normalised(w);
        const Vec3 centre = (MeshPoint(mesh.positions, 3 * t) + MeshPoint(mesh.positions, 3 * t + 1) +
                             MeshPoint(mesh.positions, 3 * t + 2)) *
                            (1.0 / 3.0);
        const double area = std::sqrt(Dot(w, w)) / 2;
        total += area;
        if (!escapes(t, centre + n * 1e-4, n) && escapes(t, centre - n * 1e-4, n * -1.0)) turned += area;
    }
    return turned / total;
}

TEST(ModelData, EveryBuildingStandsOnTheGroundCentredAndFacesOutwards) {
    CFSMeshLoader loader(kModels);
    for (const char* building : {"house", "apartments", "barn", "hangar", "tower", "church", "lighthouse"}) {
        const std::string name = std::string("buildings/") + building + ".obj";
        SCOPED_TRACE(name);
        FSMesh mesh;
        ASSERT_TRUE(loader.LoadMesh(name, mesh));
        EXPECT_LT(mesh.triangleCount, 800);  // low-poly
        // Metres, standing on y = 0, centred on x and z, the size of a building.
        EXPECT_EQ(mesh.box[1], 0);
        for (int axis = 0; axis < 3; ++axis) {
            const double extent = (mesh.box[3 + axis] - mesh.box[axis]) / 65536.0;
            EXPECT_TRUE(extent > 3.0 && extent < 60.0) << axis << ": " << extent;
        }
        EXPECT_NEAR((mesh.box[0] + mesh.box[3]) / 65536.0, 0.0, 0.001);
        EXPECT_NEAR((mesh.box[2] + mesh.box[5]) / 65536.0, 0.0, 0.001);
        EXPECT_LT(InsideOutShare(mesh), 0.005);
        if (name == "buildings/house.obj") {
            // The survey notices the front wall (the first two triangles) turned round.
            for (int k = 0; k < 6; ++k)
                std::swap(mesh.positions[9 * (k / 3) + 3 + k % 3], mesh.positions[9 * (k / 3) + 6 + k % 3]);
            EXPECT_GT(InsideOutShare(mesh), 0.05);
        }
    }
}

}  // namespace
