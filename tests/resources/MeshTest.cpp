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
using Fixed = std::vector<int32_t>;

FSMesh Parse(std::string text, bool* accepted = nullptr) {
    FSMesh mesh;
    const bool ok = CFSMeshLoader::ParseObj(text.data(), text.size(), mesh);
    if (accepted) *accepted = ok;
    return mesh;
}

// Six positions, one normal and three texture pairs for the faces of the tests.
const char kLists[] =
    "v 0 0 0\nv 1 0 0\nv 0 2 0\nv 0 0 3\nv -1 -1 -1\nv 4 4 4\n"
    "vn 0 0 1\nvt 0 0\nvt 1 0\nvt 0 1\n";

TEST(MeshParsing, FanTriangulatesFacesAndResolvesRelativeIndices) {
    const std::string lists = kLists;
    const std::pair<const char*, int> counts[] = {{"f 1/1/1 2/2/1\n", 0},
                                                  {"f 1/1/1 2/2/1 3/3/1\n", 1},
                                                  {"f 1 2 3 4\n", 2},
                                                  {"f 1 2 3 4 5\n", 3},
                                                  {"f 1 2 3 4 5 6\n", 4}};
    for (const auto& [face, triangles] : counts)
        EXPECT_EQ(Parse(lists + face).triangleCount, triangles) << face;
    // A quadrilateral is the triangles (1, 2, 3) and (1, 3, 4); -1 is the last item read so far.
    const Fixed quad = {0, 0, 0, kOne, 0, 0, 0, 2 * kOne, 0, 0, 0, 0, 0, 2 * kOne, 0, 0, 0, 3 * kOne};
    for (const char* face : {"f 1/1/1 2/2/1 3/3/1 4/1/1\n", "f -6/-3/-1 -5/-2/-1 -4/-1/-1 -3/-3/-1\n"}) {
        const FSMesh mesh = Parse(lists + face);
        EXPECT_EQ(mesh.positions, quad) << face;
        EXPECT_EQ(mesh.texCoords, (Fixed{0, 0, kOne, 0, 0, kOne, 0, 0, 0, kOne, 0, 0})) << face;
    }
    EXPECT_EQ(Parse("v 0 0 0\nv 1 0 0\nv 0 1 0\nf -3 -2 -1\nv 9 9 9\nf -4 -3 -2\n").positions,
              (Fixed{0, 0, 0, kOne, 0, 0, 0, kOne, 0, 0, 0, 0, kOne, 0, 0, 0, kOne, 0}));
}

TEST(MeshParsing, FlattensEveryCornerIntoItsOwnVertex) {
    const FSMesh mesh = Parse(std::string(kLists) + "vn 1 0 0\nf 2/2/2 3/3/1 1/1/1\nf 1/3/2 2/1/1 4/2/2\n");
    ASSERT_EQ(mesh.triangleCount, 2);
    EXPECT_EQ(mesh.vertexCount, 6);
    EXPECT_EQ(mesh.positions,
              (Fixed{kOne, 0, 0, 0, 2 * kOne, 0, 0, 0, 0, 0, 0, 0, kOne, 0, 0, 0, 0, 3 * kOne}));
    EXPECT_EQ(mesh.normals, (Fixed{kOne, 0, 0, 0, 0, kOne, 0, 0, kOne, kOne, 0, 0, 0, 0, kOne, kOne, 0, 0}));
    EXPECT_EQ(mesh.texCoords, (Fixed{kOne, 0, 0, kOne, 0, 0, 0, kOne, 0, 0, kOne, 0}));
    EXPECT_EQ(mesh.indices, (std::vector<uint16_t>{0, 1, 2, 3, 4, 5}));
    // The box spans the positions used, not the whole list.
    EXPECT_EQ(Fixed(mesh.box, mesh.box + 6), (Fixed{0, 0, 0, kOne, 2 * kOne, 3 * kOne}));
}

// 0.00001 is 0.65536 truncated toward zero; beyond 16.16 values saturate; words that are no
// numbers read as 0; a fourth number is ignored; a negative texture coordinate reads as 0.
const char kNumbers[] =
    "v 1.5 -0.5 0.00001 7\nv 40000 -40000 1e300\nv abc nan -2.75\n"
    "vn 0.70710678 -0.70710678 0\nvt -0.25 0.75\nf 1/1/1 2/1/1 3/1/1\n";
const Fixed kNumberPositions = {98304, -32768, 0, INT32_MAX, INT32_MIN, INT32_MAX, 0, 0, -180224};

TEST(MeshParsing, ConvertsNumbersToTruncated16Dot16) {
    const FSMesh mesh = Parse(kNumbers);
    EXPECT_EQ(mesh.positions, kNumberPositions);
    EXPECT_EQ(Fixed(mesh.normals.begin(), mesh.normals.begin() + 3), (Fixed{46340, -46340, 0}));
    EXPECT_EQ(Fixed(mesh.texCoords.begin(), mesh.texCoords.begin() + 2), (Fixed{0, 49152}));
}

TEST(MeshParsing, ReadsNumbersWithAPointWhateverTheProcessLocale) {
    CommaDecimalLocale comma;
    if (!comma.Active()) GTEST_SKIP() << "no locale with a decimal comma is installed";
    EXPECT_EQ(Parse(kNumbers).positions, kNumberPositions);
}

TEST(MeshParsing, DropsFacesThatReachOutsideTheLists) {
    const std::string lists = kLists;
    for (const char* face :
         {"f 1/1/1 2/2/1 7/3/1\n", "f 0/1/1 2/2/1 3/3/1\n", "f 1/1/1 2/4/1 3/3/1\n", "f 1/1/1 2/2/2 3/3/1\n",
          "f -7/1/1 2/2/1 3/3/1\n", "f 1/-4/1 2/2/1 3/3/1\n", "f 1/1/-2 2/2/1 3/3/1\n",
          "f 1/1/1 2/2/1 99999999999/3/1\n", "f 1 2 3 -99999999999\n", "f 1 2 3 4 9\n", "f a b c\n"}) {
        EXPECT_EQ(Parse(lists + face).triangleCount, 0) << face;
    }
    // Only the bad face goes; a face before the lists it refers to is read against them as they stand.
    EXPECT_EQ(Parse(lists + "f 1 2 9\nf 1 2 3\n").triangleCount, 1);
    EXPECT_EQ(Parse("f 1/1/1 2/2/1 3/3/1\n" + lists).triangleCount, 0);
}

TEST(MeshParsing, FillsInMissingTextureAndNormalReferences) {
    const FSMesh mesh =
        Parse("v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0.5 0.25\nf 1 2 3\nf 1//1 2/1 3/1/\nf 1/1 2/1 3/1\n");
    ASSERT_EQ(mesh.triangleCount, 2);  // "1//1" names normal 1, which does not exist
    // The face normal, counter-clockwise seen from +z; no texture reads as (0, 0).
    EXPECT_EQ(mesh.normals, (Fixed{0, 0, kOne, 0, 0, kOne, 0, 0, kOne, 0, 0, kOne, 0, 0, kOne, 0, 0, kOne}));
    EXPECT_EQ(mesh.texCoords,
              (Fixed{0, 0, 0, 0, 0, 0, kOne / 2, kOne / 4, kOne / 2, kOne / 4, kOne / 2, kOne / 4}));
    // A degenerate triangle without normals gets zero normals.
    EXPECT_EQ(Parse("v 0 0 0\nv 1 0 0\nv 2 0 0\nf 1 2 3\n").normals, Fixed(9, 0));
}

TEST(MeshParsing, IgnoresCommentsUnknownLinesAndGarbageAndRefusesTextWithoutTriangles) {
    const std::string text =
        "# a comment f 1 2 3\r\n#v 9 9 9\r\nmtllib house.mtl\r\no house\r\nusemtl brick\r\nusemat brick\r\n"
        "g walls\r\nv\r\n"  // no arguments: a position of zeros
        "v 1 0 0\r\nv\t0\t1\t0\r\nvn 0 0 1\r\nvt 0 0\r\ns off\r\nvertex 5 5 5\r\n"
        "  v 7 7 7\r\n"  // the keyword is the empty word before the first blank
        "f\r\n\r\n\x01\x02\xff garbage\r\n"
        "f 1/1/1   2/1/1\t3/1/1";  // the last line has no LF
    bool accepted = false;
    EXPECT_EQ(Parse(text, &accepted).positions, (Fixed{0, 0, 0, kOne, 0, 0, 0, kOne, 0}));
    EXPECT_TRUE(accepted);
    for (const char* nothing : {"", "v 1 2 3\n", "# only a comment\n", "f 1 2 3\n"}) {
        const FSMesh mesh = Parse(nothing, &accepted);
        EXPECT_FALSE(accepted) << nothing;
        EXPECT_TRUE(mesh.positions.empty());
        EXPECT_EQ(Fixed(mesh.box, mesh.box + 6),
                  (Fixed{INT32_MAX, INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN, INT32_MIN}));
    }
}

TEST(MeshParsing, SurvivesRandomText) {
    std::mt19937 random(99);
    const char pieces[] = "vfnt /#-.0123456789e\n\r\t ";
    for (int round = 0; round < 300; ++round) {
        std::string text(kLists);
        for (size_t i = 0, length = random() % 2000; i < length; ++i)
            text +=
                (random() % 8 == 0) ? static_cast<char>(random()) : pieces[random() % (sizeof pieces - 1)];
        const FSMesh mesh = Parse(text);
        ASSERT_EQ(mesh.vertexCount, 3 * mesh.triangleCount);
        ASSERT_EQ(mesh.positions.size(), static_cast<size_t>(3 * mesh.vertexCount));
        ASSERT_EQ(mesh.texCoords.size(), static_cast<size_t>(2 * mesh.vertexCount));
        for (int32_t t : mesh.texCoords)
            ASSERT_GE(t, 0);
    }
}

TEST(MeshParsing, RefusesModelsTooBigForSixteenBitIndices) {
    // One polygon of n corners is n - 2 triangles.
    std::string largest = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf";
    for (int i = 0; i < kLargestMeshTriangles + 2; ++i)
        largest += " " + std::to_string(1 + i % 3);
    bool accepted = false;
    const FSMesh mesh = Parse(largest, &accepted);
    EXPECT_TRUE(accepted);
    EXPECT_EQ(mesh.triangleCount, kLargestMeshTriangles);
    EXPECT_EQ(mesh.indices.back(), 65534);
    EXPECT_TRUE(Parse(largest + " 1", &accepted).IsEmpty());
    EXPECT_FALSE(accepted);
    EXPECT_TRUE(Parse(largest + "\nf 1 2 3\n", &accepted).IsEmpty());
    EXPECT_FALSE(accepted);
}

class MeshLoading : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = testing_support::MakeTempFolder("models");
        // The same triangle as a modeller may write it: with a byte-order mark, with lone-CR
        // line ends, and as the first half of a quadrilateral.
        const std::string triangle =
            "v 0 0 0\\nv 1 0 0\\nv 0 1 0\\nvt 0 0\\nvn 0 0 1\\nf 1/1/1 2/1/1 3/1/1\\n";
        ready_ = WriteText(folder_ + "pyramid.obj",
                           std::string(kLists) + "f 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/2/1 4/3/1\n") &&
                 WriteText(folder_ + "Pyramid.obj", std::string(kLists) + "f 4/1/1 5/2/1 6/3/1\n") &&
                 WriteText(folder_ + "empty.obj", "") && Printf(folder_ + "triangle.obj", triangle) &&
                 Printf(folder_ + "marked.obj", "\\357\\273\\277" + triangle) &&
                 Printf(folder_ + "oldmac.obj",
                        "v 0 0 0\\rv 1 0 0\\rv 0 1 0\\rvt 0 0\\rvn 0 0 1\\rf 1/1/1 2/1/1 3/1/1\\r") &&
                 Printf(folder_ + "quad.obj",
                        "v 0 0 0\\r\\nv 1 0 0\\r\\nv 0 1 0\\r\\nv -1 1 0\\r\\nvt 0 0\\r\\nvn 0 0 1\\r\\nf "
                        "1/1/1 2/1/1 3/1/1 4/1/1\\r\\n") &&
                 ZipWithPassword(folder_, folder_ + "models.zip",
                                 "pyramid.obj empty.obj triangle.obj marked.obj oldmac.obj quad.obj");
    }
    static void TearDownTestSuite() { RemoveTempFolder(folder_); }
    void SetUp() override { ASSERT_TRUE(ready_); }
    static std::string folder_;
    static bool ready_;
};
std::string MeshLoading::folder_;
bool MeshLoading::ready_ = false;

TEST_F(MeshLoading, ReadsModelsWrittenWithMarksOtherLineEndsAndPolygons) {
    CFSMeshLoader loader(folder_ + "models.zip");
    FSMesh triangle, mesh;
    ASSERT_TRUE(loader.LoadMesh("triangle.obj", triangle));
    ASSERT_EQ(triangle.triangleCount, 1);
    for (const char* name : {"marked.obj", "oldmac.obj", "quad.obj"}) {
        ASSERT_TRUE(loader.LoadMesh(name, mesh) && mesh.triangleCount > 0) << name;
        EXPECT_EQ(Fixed(mesh.positions.begin(), mesh.positions.begin() + 9), triangle.positions) << name;
        EXPECT_EQ(mesh.normals[2], kOne) << name;
    }
    EXPECT_EQ(mesh.triangleCount, 2);  // the quadrilateral's second half is there too
    EXPECT_EQ(mesh.box[0], -kOne);
}

TEST_F(MeshLoading, ParsesEachModelOnceAndHandsOutSeparateCopies) {
    CFSMeshLoader loader(folder_ + "models.zip");
    FSMesh first, second;
    ASSERT_TRUE(loader.LoadMesh("pyramid.obj", first));
    ASSERT_TRUE(loader.LoadMesh("pyramid.obj", second));
    EXPECT_EQ(loader.ParseCount(), 1);
    EXPECT_EQ(loader.CachedModelCount(), 1u);
    EXPECT_EQ(first.triangleCount, 2);
    EXPECT_EQ(first.normals, second.normals);
    EXPECT_EQ(first.texCoords, second.texCoords);
    EXPECT_EQ(first.indices, second.indices);
    EXPECT_EQ(Fixed(first.box, first.box + 6), Fixed(second.box, second.box + 6));
    // Scaling one node's copy leaves the other and the cache alone.
    for (int32_t& p : first.positions)
        p *= 2;
    FSMesh third;
    ASSERT_TRUE(loader.LoadMesh("pyramid.obj", third));
    EXPECT_EQ(third.positions, second.positions);
    EXPECT_NE(first.positions, second.positions);
}

TEST_F(MeshLoading, NamesAreExactAndMissingModelsAreTriedAgainButEmptyOnesRefused) {
    CFSMeshLoader loader(folder_ + "models.zip");
    FSMesh mesh;
    EXPECT_FALSE(loader.LoadMesh("house.obj", mesh));
    EXPECT_TRUE(mesh.IsEmpty());
    EXPECT_EQ(mesh.box[0], INT32_MAX);
    EXPECT_EQ(loader.CachedModelCount(), 0u);
    EXPECT_FALSE(loader.LoadMesh("empty.obj", mesh));
    EXPECT_TRUE(mesh.IsEmpty());
    ASSERT_TRUE(ZipWithPassword(folder_, folder_ + "models.zip", "pyramid.obj empty.obj Pyramid.obj"));
    // "Pyramid.obj" is a model of its own, in the cache and in the archive.
    FSMesh lower, upper;
    ASSERT_TRUE(loader.LoadMesh("pyramid.obj", lower));
    ASSERT_TRUE(loader.LoadMesh("Pyramid.obj", upper));
    EXPECT_EQ(lower.triangleCount, 2);
    EXPECT_EQ(upper.triangleCount, 1);
    EXPECT_EQ(loader.ParseCount(), 3);
    CFSMeshLoader nowhere(folder_ + "no_such.zip");
    EXPECT_FALSE(nowhere.LoadMesh("pyramid.obj", mesh));
    ASSERT_TRUE(ZipWithPassword(folder_, folder_ + "models.zip",
                                "pyramid.obj empty.obj triangle.obj marked.obj oldmac.obj quad.obj"));
}

}  // namespace
