// The OBJ subset of the models, their flattening into 16.16 arrays, and the model cache,
// with models read from an archive zipped with the game's password.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "resources/FSMeshLoader.h"
#include "support/FileSuite.h"
#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"

using namespace image_test_files;

namespace {

constexpr int32_t kOne = 0x10000;
using Fixed = std::vector<int32_t>;

FSMesh Parse(std::string text, bool* accepted = nullptr) {
    FSMesh mesh;
    const bool ok = CFSMeshLoader::ParseObj(text.data(), text.size(), mesh);
    if (accepted) *accepted = ok;
    return mesh;
}

// Everything a mesh holds, to compare whole meshes.
auto Arrays(const FSMesh& m) {
    return std::make_tuple(m.triangleCount, m.vertexCount, m.positions, m.normals, m.texCoords, m.indices,
                           Fixed(m.box, m.box + 6));
}

// Six positions, two normals and three texture pairs for the faces of the tests.
const std::string kLists =
    "v 0 0 0\nv 1 0 0\nv 0 2 0\nv 0 0 3\nv -1 -1 -1\nv 4 4 4\nvn 0 0 1\nvn 1 0 0\n"
    "vt 0 0\nvt 1 0\nvt 0 1\n";

TEST(MeshParsing, FanTriangulatesFacesIntoOneVertexPerCornerAndResolvesRelativeIndices) {
    std::string polygon = "f 1 2";
    EXPECT_EQ(Parse(kLists + polygon).triangleCount, 0);
    for (int corners = 3; corners <= 6; ++corners) {
        polygon += " " + std::to_string(corners);
        EXPECT_EQ(Parse(kLists + polygon).triangleCount, corners - 2) << polygon;
    }
    // A quadrilateral is the triangles (1, 2, 3) and (1, 3, 4); -1 is the last item read so far.
    for (const char* face : {"f 2/2/2 3/3/1 1/1/1 4/2/2\n", "f -5/-2/-1 -4/-1/-2 -6/-3/-2 -3/-2/-1\n"}) {
        const FSMesh mesh = Parse(kLists + face);
        ASSERT_EQ(mesh.vertexCount, 6) << face;
        EXPECT_EQ(mesh.positions,
                  (Fixed{kOne, 0, 0, 0, 2 * kOne, 0, 0, 0, 0, kOne, 0, 0, 0, 0, 0, 0, 0, 3 * kOne}));
        EXPECT_EQ(mesh.normals,
                  (Fixed{kOne, 0, 0, 0, 0, kOne, 0, 0, kOne, kOne, 0, 0, 0, 0, kOne, kOne, 0, 0}));
        EXPECT_EQ(mesh.texCoords, (Fixed{kOne, 0, 0, kOne, 0, 0, kOne, 0, 0, 0, kOne, 0}));
        EXPECT_EQ(mesh.indices, (std::vector<uint16_t>{0, 1, 2, 3, 4, 5}));
        // The box spans the positions used, not the whole list.
        EXPECT_EQ(Fixed(mesh.box, mesh.box + 6), (Fixed{0, 0, 0, kOne, 2 * kOne, 3 * kOne}));
    }
    EXPECT_EQ(Parse("v 0 0 0\nv 1 0 0\nv 0 1 0\nf -3 -2 -1\nv 9 9 9\nf -4 -3 -2\n").positions,
              (Fixed{0, 0, 0, kOne, 0, 0, 0, kOne, 0, 0, 0, 0, kOne, 0, 0, 0, kOne, 0}));
}

// Numbers read as the keyword reader's 16.16 words, which read alike in every locale.
TEST(MeshParsing, ConvertsNumbersToTruncated16Dot16) {
    // 0.00001 is 0.65536 truncated toward zero; beyond 16.16 values saturate; words that are
    // no numbers read as 0; a fourth number is ignored; a negative texture coordinate reads as 0.
    const FSMesh mesh = Parse(
        "v 1.5 -0.5 0.00001 7\nv 40000 -40000 1e300\nv abc nan -2.75\nvn 0.70710678 -0.70710678 0\n"
        "vt -0.25 0.75\nf 1/1/1 2/1/1 3/1/1\n");
    EXPECT_EQ(mesh.positions, (Fixed{98304, -32768, 0, INT32_MAX, INT32_MIN, INT32_MAX, 0, 0, -180224}));
    EXPECT_EQ(Fixed(mesh.normals.begin(), mesh.normals.begin() + 3), (Fixed{46340, -46340, 0}));
    EXPECT_EQ(Fixed(mesh.texCoords.begin(), mesh.texCoords.begin() + 2), (Fixed{0, 49152}));
}

TEST(MeshParsing, DropsFacesThatReachOutsideTheListsFillsInMissingPartsAndRefusesNothing) {
    for (const char* face :
         {"f 1/1/1 2/2/1 7/3/1", "f 0/1/1 2/2/1 3/3/1", "f 1/1/1 2/4/1 3/3/1", "f 1/1/1 2/2/3 3/3/1",
          "f -7/1/1 2/2/1 3/3/1", "f 1/-4/1 2/2/1 3/3/1", "f 1/1/-3 2/2/1 3/3/1",
          "f 1/1/1 2/2/1 99999999999/3/1", "f 1 2 3 -99999999999", "f 1 2 3 4 9", "f a b c"}) {
        EXPECT_EQ(Parse(kLists + face).triangleCount, 0) << face;
    }
    // Only the bad face goes; a face before the lists it refers to is read against them as they stand.
    EXPECT_EQ(Parse(kLists + "f 1 2 9\nf 1 2 3\n").triangleCount, 1);
    EXPECT_EQ(Parse("f 1/1/1 2/2/1 3/3/1\n" + kLists).triangleCount, 0);
    // Without a normal a corner gets the face normal (counter-clockwise seen from +z), zero for a
    // degenerate triangle; without a texture, (0, 0).
    const FSMesh mesh =
        Parse("v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0.5 0.25\nf 1 2 3\nf 1//1 2/1 3/1/\nf 1/1 2/1 3/1\n");
    EXPECT_EQ(mesh.normals, (Fixed{0, 0, kOne, 0, 0, kOne, 0, 0, kOne, 0, 0, kOne, 0, 0, kOne, 0, 0, kOne}));
    EXPECT_EQ(mesh.texCoords,
              (Fixed{0, 0, 0, 0, 0, 0, kOne / 2, kOne / 4, kOne / 2, kOne / 4, kOne / 2, kOne / 4}));
    EXPECT_EQ(Parse("v 0 0 0\nv 1 0 0\nv 2 0 0\nf 1 2 3\n").normals, Fixed(9, 0));
    // Text without a triangle is refused, and gives an empty mesh with the empty box.
    FSMesh none;
    EXPECT_FALSE(CFSMeshLoader::ParseObj(nullptr, 0, none));
    bool accepted = true;
    for (const char* nothing : {"", "v 1 2 3\n", "# only a comment\n", "f 1 2 3\n"}) {
        EXPECT_EQ(Arrays(Parse(nothing, &accepted)), Arrays(FSMesh{})) << nothing;
        EXPECT_FALSE(accepted) << nothing;
    }
}

TEST(MeshParsing, IgnoresCommentsUnknownLinesAndGarbage) {
    const std::string text =
        "# a comment f 1 2 3\r\n#v 9 9 9\r\nmtllib house.mtl\r\no house\r\nusemtl brick\r\nusemat brick\r\n"
        "g walls\r\nv\r\n"  // no arguments: a position of zeros
        "v 1 0 0\r\nv\t0\t1\t0\r\nvn 0 0 1\r\nvt 0 0\r\ns off\r\nvertex 5 5 5\r\n"
        "  v 7 7 7\r\n"  // the keyword is the empty word before the first blank
        "f\r\n\r\n\x01\x02\xff garbage\r\n"
        "f 1/1/1   2/1/1\t3/1/1";  // the last line has no LF
    EXPECT_EQ(Parse(text).positions, (Fixed{0, 0, 0, kOne, 0, 0, 0, kOne, 0}));
}

TEST(MeshParsing, RefusesModelsTooBigForSixteenBitIndices) {
    // One polygon of n corners is n - 2 triangles.
    std::string largest = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf";
    for (int i = 0; i < kLargestMeshTriangles + 2; ++i)
        largest += " " + std::to_string(1 + i % 3);
    bool accepted = false;
    const FSMesh mesh = Parse(largest, &accepted);
    ASSERT_TRUE(accepted);
    EXPECT_EQ(mesh.indices.back(), 65534);
    for (const std::string& tooBig : {largest + " 1", largest + "\nf 1 2 3\n"}) {
        EXPECT_TRUE(Parse(tooBig, &accepted).IsEmpty());
        EXPECT_FALSE(accepted);
    }
}

const char kModels[] = "pyramid.obj empty.obj modeller.obj";

class MeshLoading : public testing_support::FileSuite<MeshLoading> {
protected:
    static void SetUpTestSuite() {
        folder_ = testing_support::MakeTempFolder("models");
        ready_ = WriteText(folder_ + "pyramid.obj", kLists + "f 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/2/1 4/3/1\n") &&
                 WriteText(folder_ + "Pyramid.obj", kLists + "f 4/1/1 5/2/1 6/3/1\n") &&
                 WriteText(folder_ + "empty.obj", "") &&
                 // A quadrilateral as a modeller may save it: a byte-order mark and lone-CR line ends.
                 Printf(folder_ + "modeller.obj",
                        "\357\273\277v 0 0 0\rv 1 0 0\rv 0 1 0\rv -1 1 0\rvt 0 0\rvn 0 0 1\rf 1/1/1 2/1/1 "
                        "3/1/1 4/1/1\r") &&
                 ZipWithPassword(folder_, folder_ + "models.zip", kModels);
    }
};

TEST_F(MeshLoading, ReadsAModellersFileWithAMarkLoneCrLineEndsAndAPolygon) {
    FSMesh mesh;
    ASSERT_TRUE(CFSMeshLoader(folder_ + "models.zip").LoadMesh("modeller.obj", mesh) &&
                mesh.vertexCount == 6);
    EXPECT_EQ(mesh.positions, (Fixed{0, 0, 0, kOne, 0, 0, 0, kOne, 0, 0, 0, 0, 0, kOne, 0, -kOne, kOne, 0}));
    EXPECT_EQ(mesh.normals[17], kOne);
}

TEST_F(MeshLoading, ParsesEachModelOnceByItsExactNameAndHandsOutSeparateCopies) {
    CFSMeshLoader loader(folder_ + "models.zip");
    FSMesh first, second, mesh, upper;
    ASSERT_TRUE(loader.LoadMesh("pyramid.obj", first) && loader.LoadMesh("pyramid.obj", second));
    EXPECT_EQ(std::make_tuple(loader.ParseCount(), first.triangleCount), std::make_tuple(1, 2));
    EXPECT_EQ(Arrays(first), Arrays(second));
    // Scaling one node's copy leaves the other and the cache alone.
    for (int32_t& p : first.positions)
        p *= 2;
    ASSERT_TRUE(loader.LoadMesh("pyramid.obj", mesh));
    EXPECT_EQ(Arrays(mesh), Arrays(second));
    // A missing model is tried again when asked again; an empty one is refused.
    EXPECT_FALSE(loader.LoadMesh("house.obj", mesh) || loader.LoadMesh("empty.obj", mesh));
    EXPECT_EQ(Arrays(mesh), Arrays(FSMesh{}));
    EXPECT_FALSE(CFSMeshLoader(folder_ + "no_such.zip").LoadMesh("pyramid.obj", mesh));
    // "Pyramid.obj" is a model of its own, in the cache and in the archive.
    ASSERT_TRUE(
        WriteText(folder_ + "house.obj", kLists + "f 1 2 3\n") &&
        ZipWithPassword(folder_, folder_ + "models.zip", std::string("Pyramid.obj house.obj ") + kModels));
    ASSERT_TRUE(loader.LoadMesh("Pyramid.obj", upper) && loader.LoadMesh("house.obj", mesh));
    EXPECT_EQ(std::make_tuple(upper.triangleCount, loader.ParseCount()), std::make_tuple(1, 4));
    ASSERT_TRUE(ZipWithPassword(folder_, folder_ + "models.zip", kModels));
}

}  // namespace
