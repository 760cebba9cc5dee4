// The OBJ subset of the models, their flattening into 16.16 arrays, and the model cache,
// with models read from an archive zipped with the game's password.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "ImageTestFiles.h"
#include "resources/FSMeshLoader.h"
#include "support/TestSupport.h"

using namespace image_test_files;

namespace {

constexpr int32_t kOne = 0x10000;

FSMesh Parse(std::string text, bool* accepted = nullptr) {
    FSMesh mesh;
    const bool ok = CFSMeshLoader::ParseObj(text.data(), text.size(), mesh);
    if (accepted) *accepted = ok;
    return mesh;
}

// Three corners of the position, normal and texture lists below, in any order.
const char kLists[] =
    "v 0 0 0\n"
    "v 1 0 0\n"
    "v 0 2 0\n"
    "v 0 0 3\n"
    "v -1 -1 -1\n"
    "v 4 4 4\n"
    "vn 0 0 1\n"
    "vt 0 0\n"
    "vt 1 0\n"
    "vt 0 1\n";

TEST(MeshParsing, CutsFaceLinesIntoConsecutiveTriangles) {
    const std::string lists = kLists;
    EXPECT_EQ(Parse(lists + "f 1/1/1 2/2/1 3/3/1\n").triangleCount, 1);
    EXPECT_EQ(Parse(lists + "f 1/1/1 2/2/1 3/3/1 4/1/1\n").triangleCount, 1);  // a quadrilateral
    EXPECT_EQ(Parse(lists + "f 1/1/1 2/2/1 3/3/1 4/1/1 5/2/1\n").triangleCount, 1);
    FSMesh two = Parse(lists + "f 1/1/1 2/2/1 3/3/1 4/1/1 5/2/1 6/3/1\n");
    ASSERT_EQ(two.triangleCount, 2);
    EXPECT_EQ(two.vertexCount, 6);
    // The second triangle is corners 4 to 6.
    EXPECT_EQ(two.positions[9], 0);
    EXPECT_EQ(two.positions[11], 3 * kOne);
    EXPECT_EQ(two.positions[12], -kOne);
    EXPECT_EQ(two.positions[15], 4 * kOne);
    EXPECT_EQ(Parse(lists + "f 1/1/1 2/2/1\n").triangleCount, 0);
}

TEST(MeshParsing, FlattensEveryCornerIntoItsOwnVertex) {
    const std::string text =
        std::string(kLists) + "vn 1 0 0\n" + "f 2/2/2 3/3/1 1/1/1\nf 1/3/2 2/1/1 4/2/2\n";
    FSMesh mesh = Parse(text);
    ASSERT_EQ(mesh.triangleCount, 2);
    ASSERT_EQ(mesh.vertexCount, 6);
    ASSERT_EQ(mesh.positions.size(), 18u);
    ASSERT_EQ(mesh.normals.size(), 18u);
    ASSERT_EQ(mesh.texCoords.size(), 12u);
    ASSERT_EQ(mesh.indices.size(), 6u);
    const std::vector<int32_t> positions = {kOne, 0, 0, 0,    2 * kOne, 0, 0, 0, 0,
                                            0,    0, 0, kOne, 0,        0, 0, 0, 3 * kOne};
    EXPECT_EQ(mesh.positions, positions);
    const std::vector<int32_t> normals = {kOne, 0, 0, 0, 0, kOne, 0,    0, kOne,
                                          kOne, 0, 0, 0, 0, kOne, kOne, 0, 0};
    EXPECT_EQ(mesh.normals, normals);
    const std::vector<int32_t> texCoords = {kOne, 0, 0, kOne, 0, 0, 0, kOne, 0, 0, kOne, 0};
    EXPECT_EQ(mesh.texCoords, texCoords);
    EXPECT_EQ(mesh.indices, (std::vector<uint16_t>{0, 1, 2, 3, 4, 5}));
    // The box spans the positions used, not the whole list.
    const int32_t box[6] = {0, 0, 0, kOne, 2 * kOne, 3 * kOne};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(mesh.box[i], box[i]) << i;
}

TEST(MeshParsing, ConvertsNumbersToTruncated16Dot16) {
    FSMesh mesh = Parse(
        "v 1.5 -0.5 0.00001 7\n"  // a fourth number is ignored
        "v 40000 -40000 1e300\n"
        "v abc nan -2.75\n"
        "vn 0.70710678 -0.70710678 0\n"
        "vt -0.25 0.75\n"
        "f 1/1/1 2/1/1 3/1/1\n");
    ASSERT_EQ(mesh.triangleCount, 1);
    // 0.00001 is 0.65536 truncated toward zero; beyond 16.16 values saturate; words that are
    // no numbers read as 0.
    EXPECT_EQ(mesh.positions,
              (std::vector<int32_t>{98304, -32768, 0, INT32_MAX, INT32_MIN, INT32_MAX, 0, 0, -180224}));
    EXPECT_EQ(mesh.normals[0], 46340);
    EXPECT_EQ(mesh.normals[1], -46340);
    EXPECT_EQ(mesh.texCoords[0], 0);  // a negative u reads as 0
    EXPECT_EQ(mesh.texCoords[1], 49152);
}

TEST(MeshParsing, DropsTrianglesThatReachOutsideTheLists) {
    const std::string lists = kLists;
    for (const char* face :
         {"f 1/1/1 2/2/1 7/3/1\n", "f 0/1/1 2/2/1 3/3/1\n", "f 1/1/1 2/4/1 3/3/1\n", "f 1/1/1 2/2/2 3/3/1\n",
          "f -1/1/1 2/2/1 3/3/1\n", "f 1/1/1 2/2/1 99999999999/3/1\n", "f a b c\n"}) {
        EXPECT_EQ(Parse(lists + face).triangleCount, 0) << face;
    }
    // Only the bad triangle of a line goes.
    FSMesh mesh = Parse(lists + "f 1/1/1 2/2/1 9/3/1 1/1/1 2/2/1 3/3/1\n");
    EXPECT_EQ(mesh.triangleCount, 1);
    // A face before the lists it refers to is read against the lists as they stand.
    EXPECT_EQ(Parse("f 1/1/1 2/2/1 3/3/1\n" + lists).triangleCount, 0);
}

TEST(MeshParsing, FillsInMissingTextureAndNormalReferences) {
    FSMesh mesh = Parse("v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0.5 0.5\nf 1 2 3\nf 1//1 2/1 3/1/\n");
    ASSERT_EQ(mesh.triangleCount, 1);  // "1//1" names normal 1, which does not exist
    for (int v = 0; v < 3; ++v) {
        EXPECT_EQ(mesh.texCoords[2 * v], 0);
        EXPECT_EQ(mesh.normals[3 * v], 0);
        EXPECT_EQ(mesh.normals[3 * v + 1], 0);
        EXPECT_EQ(mesh.normals[3 * v + 2], kOne);  // the face normal, counter-clockwise seen from +z
    }
    FSMesh textured = Parse("v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0.5 0.25\nf 1/1 2/1 3/1\n");
    ASSERT_EQ(textured.triangleCount, 1);
    EXPECT_EQ(textured.texCoords[0], kOne / 2);
    EXPECT_EQ(textured.texCoords[1], kOne / 4);
    // A degenerate triangle without normals gets zero normals.
    FSMesh flat = Parse("v 0 0 0\nv 1 0 0\nv 2 0 0\nf 1 2 3\n");
    ASSERT_EQ(flat.triangleCount, 1);
    EXPECT_EQ(flat.normals, std::vector<int32_t>(9, 0));
}

TEST(MeshParsing, IgnoresCommentsUnknownLinesAndGarbage) {
    const std::string text =
        "# a comment f 1 2 3\r\n"
        "#v 9 9 9\r\n"
        "mtllib house.mtl\r\n"
        "o house\r\n"
        "usemtl brick\r\n"
        "usemat brick\r\n"
        "g walls\r\n"
        "v\r\n"  // no arguments: a position of zeros
        "v 1 0 0\r\n"
        "v\t0\t1\t0\r\n"
        "vn 0 0 1\r\n"
        "vt 0 0\r\n"
        "s off\r\n"
        "vertex 5 5 5\r\n"
        "  v 7 7 7\r\n"  // the keyword is the empty word before the first blank
        "f\r\n"
        "\r\n"
        "\x01\x02\xff garbage\r\n"
        "f 1/1/1   2/1/1\t3/1/1";  // the last line has no LF
    FSMesh mesh = Parse(text);
    ASSERT_EQ(mesh.triangleCount, 1);
    EXPECT_EQ(mesh.positions, (std::vector<int32_t>{0, 0, 0, kOne, 0, 0, 0, kOne, 0}));
    EXPECT_EQ(Parse("").triangleCount, 0);
    FSMesh empty = Parse("v 1 2 3\n");
    EXPECT_EQ(empty.box[0], INT32_MAX);
    EXPECT_EQ(empty.box[3], INT32_MIN);
    EXPECT_TRUE(empty.positions.empty());
}

TEST(MeshParsing, SurvivesRandomText) {
    std::mt19937 random(99);
    const char pieces[] = "vfnt /#-.0123456789e\n\r\t ";
    for (int round = 0; round < 300; ++round) {
        std::string text(kLists);
        const size_t length = random() % 2000;
        for (size_t i = 0; i < length; ++i) {
            text +=
                (random() % 8 == 0) ? static_cast<char>(random()) : pieces[random() % (sizeof pieces - 1)];
        }
        FSMesh mesh = Parse(text);
        ASSERT_EQ(mesh.vertexCount, 3 * mesh.triangleCount);
        ASSERT_EQ(mesh.positions.size(), static_cast<size_t>(3 * mesh.vertexCount));
        ASSERT_EQ(mesh.texCoords.size(), static_cast<size_t>(2 * mesh.vertexCount));
        for (int32_t t : mesh.texCoords)
            ASSERT_GE(t, 0);
    }
}

TEST(MeshParsing, RefusesModelsTooBigForSixteenBitIndices) {
    std::string text = "v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nvn 0 0 1\n";
    std::string face = "f 1/1/1 2/1/1 3/1/1\n";
    for (int i = 0; i < kLargestMeshTriangles; ++i)
        text += face;
    bool accepted = false;
    FSMesh largest = Parse(text, &accepted);
    EXPECT_TRUE(accepted);
    EXPECT_EQ(largest.triangleCount, kLargestMeshTriangles);
    EXPECT_EQ(largest.indices.back(), 65534);
    FSMesh tooBig = Parse(text + face, &accepted);
    EXPECT_FALSE(accepted);
    EXPECT_TRUE(tooBig.IsEmpty());
    EXPECT_TRUE(tooBig.positions.empty());
}

class MeshLoading : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = testing_support::MakeTempFolder("models");
        ready_ = WriteText(folder_ + "pyramid.obj",
                           std::string(kLists) + "f 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/2/1 4/3/1\n") &&
                 WriteText(folder_ + "Pyramid.obj", std::string(kLists) + "f 4/1/1 5/2/1 6/3/1\n") &&
                 WriteText(folder_ + "empty.obj", "") &&
                 ZipWithPassword(folder_, folder_ + "models.zip", "pyramid.obj empty.obj");
    }
    static void TearDownTestSuite() { RemoveTempFolder(folder_); }
    void SetUp() override { ASSERT_TRUE(ready_); }
    static std::string folder_;
    static bool ready_;
};
std::string MeshLoading::folder_;
bool MeshLoading::ready_ = false;

TEST_F(MeshLoading, ParsesEachModelOnceAndHandsOutSeparateCopies) {
    CFSMeshLoader loader(folder_ + "models.zip");
    FSMesh first, second;
    ASSERT_TRUE(loader.LoadMesh("pyramid.obj", first));
    ASSERT_TRUE(loader.LoadMesh("pyramid.obj", second));
    EXPECT_EQ(loader.ParseCount(), 1);
    EXPECT_EQ(loader.CachedModelCount(), 1u);
    EXPECT_EQ(first.triangleCount, 2);
    EXPECT_EQ(first.positions, second.positions);
    EXPECT_EQ(first.normals, second.normals);
    EXPECT_EQ(first.texCoords, second.texCoords);
    EXPECT_EQ(first.indices, second.indices);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(first.box[i], second.box[i]);
    // Scaling one node's copy leaves the other and the cache alone.
    for (int32_t& p : first.positions)
        p *= 2;
    FSMesh third;
    ASSERT_TRUE(loader.LoadMesh("pyramid.obj", third));
    EXPECT_EQ(third.positions, second.positions);
    EXPECT_NE(first.positions, second.positions);
}

TEST_F(MeshLoading, NamesAreExactInTheCacheAndMissingModelsAreTriedAgain) {
    CFSMeshLoader loader(folder_ + "models.zip");
    FSMesh mesh;
    EXPECT_FALSE(loader.LoadMesh("house.obj", mesh));
    EXPECT_TRUE(mesh.IsEmpty());
    EXPECT_EQ(mesh.box[0], INT32_MAX);
    EXPECT_EQ(loader.CachedModelCount(), 0u);
    ASSERT_TRUE(ZipWithPassword(folder_, folder_ + "models.zip", "pyramid.obj empty.obj Pyramid.obj"));
    // "Pyramid.obj" is its own cache entry; the archive, not the cache, ignores case.
    FSMesh lower, upper;
    ASSERT_TRUE(loader.LoadMesh("pyramid.obj", lower));
    ASSERT_TRUE(loader.LoadMesh("Pyramid.obj", upper));
    EXPECT_EQ(loader.CachedModelCount(), 2u);
    EXPECT_EQ(loader.ParseCount(), 2);
    EXPECT_TRUE(loader.LoadMesh("empty.obj", mesh));
    EXPECT_TRUE(mesh.IsEmpty());
    CFSMeshLoader nowhere(folder_ + "no_such.zip");
    EXPECT_FALSE(nowhere.LoadMesh("pyramid.obj", mesh));
    ASSERT_TRUE(ZipWithPassword(folder_, folder_ + "models.zip", "pyramid.obj empty.obj"));
}

}  // namespace
