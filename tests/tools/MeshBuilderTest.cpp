// The data build's low-poly mesh builder and scenery painting helpers: what they write must
// come back through the game's OBJ parser as outward-facing, textured triangles.
#include <gtest/gtest.h>

#include <cmath>

#include "common/ImageFiles.h"
#include "databuild/MeshBuilder.h"
#include "databuild/SceneryPaint.h"
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
        EXPECT_EQ(BackwardNormals(mesh, 0.3), 0);
        for (int v = 0; v < mesh.vertexCount; ++v) {
            EXPECT_EQ(MeshPoint(mesh.normals, v).z, 1.0);
            // The region is laid over the face: its left edge at u0, its foot at v0.
            const Vec3 p = MeshPoint(mesh.positions, v);
            EXPECT_NEAR(mesh.texCoords[2 * v] / 65536.0, p.x == 0 ? 0.25 : 0.75, 1e-4);
            EXPECT_NEAR(mesh.texCoords[2 * v + 1] / 65536.0, p.y == 0 ? 0.5 : 1.0, 1e-4);
        }
    }
}

TEST(MeshBuilder, ClosedSolidsEncloseTheirVolumeOutwards) {
    const meshes::UvRect all;
    {
        MeshBuilder builder;
        builder.Box({-1, 0, -2}, {3, 2, 1}, all, all, true);
        const FSMesh mesh = Parse(builder);
        EXPECT_EQ(mesh.triangleCount, 12);
        EXPECT_NEAR(SignedVolume(mesh), 4.0 * 2.0 * 3.0, 1e-3);
        EXPECT_EQ(BackwardNormals(mesh, 0.3), 0);
    }
    {
        // A frustum with both caps: V = pi h (r0^2 + r0 r1 + r1^2) / 3 for the round shape;
        // a 64-sided prism comes within a fraction of a percent.
        MeshBuilder builder;
        builder.Frustum(5, -3, 1, 2, 4, 1, 64, true, all, &all, true);
        const FSMesh mesh = Parse(builder);
        EXPECT_EQ(mesh.triangleCount, 2 * 64 + 2 * 62);
        const double round = 3.14159265 * 3 * (4 + 2 + 1) / 3;
        EXPECT_NEAR(SignedVolume(mesh), round, round * 0.01);
        EXPECT_EQ(BackwardNormals(mesh, 0.3), 0);
    }
    for (double overhang : {0.0, 0.5}) {
        // A gable roof over a 6 x 4 rectangle (eaves 3 m, ridge 4 m, slabs 0.5 m thick),
        // closed below by its two gable triangles and a ceiling at the eaves: the prism
        // under the slopes (2 m^2 x 6 m) and the two slabs, each as wide as it reaches out
        // (2 m + overhang) and as long as it reaches along (6 m + 2 overhang).
        MeshBuilder builder;
        builder.GableRoof(0, 0, 6, 4, 3, 4, true, overhang, 0.5, all, all);
        const Vec3 inside = {3, 3.5, 2};
        builder.Face({{0, 3, 0}, {0, 3, 4}, {0, 4, 2}}, inside, all);
        builder.Face({{6, 3, 0}, {6, 3, 4}, {6, 4, 2}}, inside, all);
        builder.Face({{0, 3, 0}, {6, 3, 0}, {6, 3, 4}, {0, 3, 4}}, inside, all);
        const FSMesh mesh = Parse(builder);
        const double slabs = 2 * (2 + overhang) * (6 + 2 * overhang) * 0.5;
        EXPECT_NEAR(SignedVolume(mesh), 12 + slabs, 1e-3) << overhang;
        EXPECT_EQ(BackwardNormals(mesh, 0.3), 0);
    }
    {
        MeshBuilder builder;
        builder.Cone(0, 0, 0, 1, 2, 4, false, all, 0.785398);
        const double r = 1 / std::sqrt(2.0);
        builder.Face({{r, 0, r}, {-r, 0, r}, {-r, 0, -r}, {r, 0, -r}}, {0, 1, 0}, all);
        const FSMesh mesh = Parse(builder);
        EXPECT_NEAR(SignedVolume(mesh), 2.0 * 2.0 / 3.0, 1e-3);  // a pyramid on a 2 m^2 square
        EXPECT_EQ(BackwardNormals(mesh, 0.3), 0);
    }
}

TEST(MeshBuilder, StandsTheModelOnTheGroundCentredAndWritesOnlyTriangles) {
    MeshBuilder builder;
    const meshes::UvRect all;
    builder.Box({10, 5, 20}, {14, 8, 22}, all, all);
    builder.StandCentred();
    Vec3 low, high;
    builder.Bounds(low, high);
    EXPECT_DOUBLE_EQ(low.y, 0.0);
    EXPECT_DOUBLE_EQ(low.x, -high.x);
    EXPECT_DOUBLE_EQ(low.z, -high.z);
    const std::string text = builder.ToObj({"first line", "second line"});
    EXPECT_EQ(text.rfind("# first line\n# second line\n", 0), 0u);
    // Every face line has exactly three full corners; shared positions are written once.
    size_t faces = 0, positions = 0;
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find('\n', start);
        const std::string line = text.substr(start, end - start);
        if (line.rfind("f ", 0) == 0) {
            ++faces;
            int slashes = 0, spaces = 0;
            for (char c : line) {
                slashes += c == '/';
                spaces += c == ' ';
            }
            EXPECT_EQ(spaces, 3) << line;
            EXPECT_EQ(slashes, 6) << line;
            EXPECT_EQ(line.find("//"), std::string::npos) << line;
        }
        positions += line.rfind("v ", 0) == 0;
        start = end + 1;
    }
    EXPECT_EQ(faces, 10u);     // a box on the ground: four sides and a top
    EXPECT_EQ(positions, 8u);  // its eight corners
}

TEST(SceneryPaint, WrappingNoiseTilesAndBleedingKeepsAlpha) {
    for (float y : {0.0f, 1.3f, 7.9f}) {
        for (float x : {0.0f, 0.4f, 3.75f}) {
            EXPECT_NEAR(scenery::ValueNoise(x, y, 5, 8, 4), scenery::ValueNoise(x + 8, y + 4, 5, 8, 4), 1e-5);
            EXPECT_NEAR(scenery::FractalNoise(x, y, 3, 5, 8, 0), scenery::FractalNoise(x + 8, y, 3, 5, 8, 0),
                        1e-5);
        }
    }
    Canvas canvas(8, 8, {0, 0, 0, 0});
    canvas.At(3, 3) = {200, 100, 50, 255};
    canvas.At(4, 3) = {200, 100, 50, 90};
    scenery::BleedColour(canvas, 2);
    EXPECT_EQ(canvas.At(3, 3).a, 255);
    EXPECT_EQ(canvas.At(4, 3).a, 90);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const Rgba p = canvas.At(x, y);
            EXPECT_EQ(p.r, 200) << x << "," << y;  // every clear texel takes the colour
            EXPECT_EQ(p.g, 100) << x << "," << y;
            if (!((x == 3 || x == 4) && y == 3)) {
                EXPECT_EQ(p.a, 0) << x << "," << y;
            }
        }
    }
}

TEST(SceneryPaint, GreyPicturesDecodeAsGreyWithTheTopRowLast) {
    std::vector<uint8_t> grey(4 * 2);
    for (size_t i = 0; i < grey.size(); ++i)
        grey[i] = static_cast<uint8_t>(i * 30);
    const std::vector<uint8_t> png = EncodeGreyPng(grey, 4, 2);
    FSPngImage image;
    ASSERT_TRUE(DecodePng(png.data(), png.size(), image));
    ASSERT_EQ(image.width, 4);
    ASSERT_EQ(image.height, 2);
    ASSERT_EQ(image.channels, 3);
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(image.pixels[3 * (4 + x)], grey[x]);  // the first row comes last
        EXPECT_EQ(image.pixels[3 * x + 2], grey[4 + x]);
    }
    EXPECT_TRUE(EncodeGreyPng(grey, 3, 2).empty());  // size and bytes disagree
}

}  // namespace
