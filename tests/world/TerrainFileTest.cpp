// Terrain files, sound and hostile: written here, zipped with Info-ZIP's zip, and loaded.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "support/TestSupport.h"
#include "world/FSTerrainModel.h"
#include "world/TerrainTestFiles.h"
#include "world/WorldTestNodes.h"

using terrain_test::SmallTerrain;
using terrain_test::TerrainWriter;
using world_test::F;

namespace {

// Writes members into a zip made by Info-ZIP in a fresh folder.
class ZippedTerrains {
public:
    ZippedTerrains() : folder_(testing_support::MakeTempFolder("terrains")) {}

    bool Add(const std::string& member, const std::vector<uint8_t>& bytes) {
        {
            std::ofstream out(folder_ + member, std::ios::binary);
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
        }
        const std::string command = "cd '" + folder_ + "' && zip -q -X terrains.zip '" + member + "'";
        return std::system(command.c_str()) == 0;
    }
    std::string Archive() const { return folder_ + "terrains.zip"; }

private:
    std::string folder_;
};

// Everything a failed load leaves behind: nothing.
void ExpectReleased(const CFSTerrainModel& terrain, const std::string& why) {
    EXPECT_FALSE(terrain.IsLoaded()) << why;
    EXPECT_EQ(terrain.GetGridSize(), 0) << why;
    EXPECT_EQ(terrain.WindowSize(), 0) << why;
    EXPECT_EQ(terrain.Spacing(), 0) << why;
    EXPECT_TRUE(terrain.Layers().empty()) << why;
    EXPECT_TRUE(terrain.Bands().empty()) << why;
    EXPECT_EQ(terrain.TextureSetCount(), 0) << why;
    EXPECT_TRUE(terrain.Positions().empty()) << why;
    EXPECT_TRUE(terrain.FullIndices().empty()) << why;
    EXPECT_EQ(terrain.Quadtree().NodeCount(), 0u) << why;
    EXPECT_FALSE(terrain.IsTileVisible({0, 0})) << why;
    EXPECT_EQ(terrain.HeightAbove({F(1), F(2), F(3)}), F(2)) << why;
}

// Loads bytes into a model that held a sound terrain before: a refused file must take
// the old one away completely.
bool LoadOverSound(CFSTerrainModel& terrain, const std::vector<uint8_t>& bytes) {
    const std::vector<uint8_t> sound = SmallTerrain{}.Bytes();
    EXPECT_TRUE(terrain.LoadFromMemory(sound.data(), sound.size(), 5, true));
    return terrain.LoadFromMemory(bytes.data(), bytes.size(), 5, true);
}

TEST(TerrainFile, ASmallTerrainZippedByInfoZipLoadsWhole) {
    ZippedTerrains zip;
    SmallTerrain small;
    ASSERT_TRUE(zip.Add("small.ter", small.Bytes()));
    CFSTerrainModel terrain;
    ASSERT_TRUE(terrain.Load(zip.Archive(), "SMALL.TER", 33, true));  // members match in any case
    EXPECT_EQ(terrain.GetGridSize(), 4);
    EXPECT_EQ(terrain.Version(), 1u);
    EXPECT_EQ(terrain.WindowSize(), 5);  // a window never covers the field twice: N + 1
    EXPECT_EQ(terrain.MaterialNames(), (std::vector<std::string>{"grass", "rock"}));
    ASSERT_EQ(terrain.Layers().size(), 2u);
    EXPECT_EQ(terrain.Layers()[1].name, "rock");
    EXPECT_EQ(terrain.TextureSetCount(), 2);
    EXPECT_EQ(terrain.DrawableBands(), 2);
    // Layer weights from the nibbles: columns 2 and 3 are in layer 1.
    EXPECT_EQ(terrain.LayerWeight(1, 1, 0), 0);
    EXPECT_EQ(terrain.LayerWeight(1, 2, 3), kFixedOne);
    EXPECT_EQ(terrain.LayerWeight(0, 1, 0), kFixedOne);
    // The plane h = 0.01 i + 0.02 j within a square: at (i + 0.5, j + 0.25) of square (1, 2).
    const double s = 60.0;
    EXPECT_NEAR(-terrain.HeightAbove({F(1.5 * s), 0, F(2.25 * s)}) / 65536.0, 0.015 + 0.045, 1e-4);
    // Chunk order does not matter: the grid size may come after the arrays.
    TerrainWriter late;
    late.Chunk(0xA002, small.Heights());
    late.Chunk(0xA004, small.Normals());
    late.Chunk(3, TerrainWriter::Word(static_cast<uint32_t>(F(240))));
    late.Chunk(2, TerrainWriter::Word(4));
    CFSTerrainModel reordered;
    ASSERT_TRUE(reordered.LoadFromMemory(late.bytes.data(), late.bytes.size(), 33, true));
    EXPECT_EQ(reordered.HeightAbove({F(90), 0, F(135)}), terrain.HeightAbove({F(90), 0, F(135)}));
    EXPECT_TRUE(reordered.Layers().empty());
}

TEST(TerrainFile, MissingOrTruncatedMembersLoadNothing) {
    ZippedTerrains zip;
    const std::vector<uint8_t> bytes = SmallTerrain{}.Bytes();
    ASSERT_TRUE(zip.Add("small.ter", bytes));
    ASSERT_TRUE(zip.Add("empty.ter", {}));
    CFSTerrainModel terrain;
    ASSERT_TRUE(terrain.Load(zip.Archive(), "small.ter", 5, true));
    EXPECT_FALSE(terrain.Load(zip.Archive(), "other.ter", 5, true));
    ExpectReleased(terrain, "missing member");
    EXPECT_FALSE(terrain.Load(zip.Archive(), "empty.ter", 5, true));
    ExpectReleased(terrain, "empty member");

    // Cut anywhere, the file loses a header, a payload or a chunk it needs.
    for (size_t length = 0; length < bytes.size(); ++length) {
        const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        CFSTerrainModel model;
        ASSERT_FALSE(LoadOverSound(model, cut)) << "cut at " << length;
        ExpectReleased(model, "cut at " + std::to_string(length));
    }
}

TEST(TerrainFile, HostileChunksAreRefused) {
    SmallTerrain small;
    const uint32_t n = 4;
    auto withGrid = [&](uint32_t gridSize) {
        TerrainWriter w;
        w.Chunk(2, TerrainWriter::Word(gridSize));
        w.Chunk(3, TerrainWriter::Word(static_cast<uint32_t>(F(240))));
        return w;
    };
    auto sound = [&](TerrainWriter w) {
        w.Chunk(0xA002, small.Heights());
        w.Chunk(0xA004, small.Normals());
        return w.bytes;
    };
    std::vector<std::pair<std::string, std::vector<uint8_t>>> cases;

    {  // A chunk length past the end of the member, and one 4 GB long.
        TerrainWriter w = withGrid(n);
        w.Chunk(0xA002, small.Heights());
        w.ChunkWithLength(0xA004, small.Normals(), small.Normals().size() + 1);
        cases.emplace_back("length one past the end", w.bytes);
        TerrainWriter huge = withGrid(n);
        huge.ChunkWithLength(0x55, {1, 2, 3, 4}, 0xFFFFFFFFu);
        cases.emplace_back("length 4 GB", sound(huge));
    }
    for (uint32_t grid : {0u, 1u, 0x10000u, 0xFFFFFFFFu, 0x80000000u}) {
        cases.emplace_back("grid " + std::to_string(grid), sound(withGrid(grid)));
    }
    {  // Two grid sizes that disagree; none at all; no side; side 0 or negative.
        TerrainWriter w = withGrid(n);
        w.Chunk(2, TerrainWriter::Word(8));
        cases.emplace_back("two grid sizes", sound(w));
        TerrainWriter none;
        none.Chunk(3, TerrainWriter::Word(static_cast<uint32_t>(F(240))));
        cases.emplace_back("no grid size", sound(none));
        TerrainWriter noSide;
        noSide.Chunk(2, TerrainWriter::Word(n));
        cases.emplace_back("no side", sound(noSide));
        for (int32_t side : {0, -F(240), 3}) {
            TerrainWriter bad;
            bad.Chunk(2, TerrainWriter::Word(n));
            bad.Chunk(3, TerrainWriter::Word(static_cast<uint32_t>(side)));
            cases.emplace_back("side " + std::to_string(side), sound(bad));
        }
        TerrainWriter shortWord = withGrid(n);
        shortWord.Chunk(4, {1, 0});
        cases.emplace_back("two-byte version", sound(shortWord));
    }
    {  // Arrays that do not fit what N demands.
        auto trimmed = [](std::vector<uint8_t> v, size_t less) {
            v.resize(v.size() - less);
            return v;
        };
        TerrainWriter heights = withGrid(n);
        heights.Chunk(0xA002, trimmed(small.Heights(), 4));
        heights.Chunk(0xA004, small.Normals());
        cases.emplace_back("heights short", heights.bytes);
        TerrainWriter normals = withGrid(n);
        normals.Chunk(0xA002, small.Heights());
        normals.Chunk(0xA004, trimmed(small.Normals(), 12));
        cases.emplace_back("normals short", normals.bytes);
        TerrainWriter map = withGrid(n);
        map.Chunk(0xA001, trimmed(small.MaterialMap(), 1));
        cases.emplace_back("material map short", sound(map));
        TerrainWriter uv = withGrid(n);
        uv.Chunk(0xA003, trimmed(small.TextureCoordinates(2), 8));
        cases.emplace_back("coordinates not whole sets", sound(uv));
        TerrainWriter bigGrid = withGrid(8);
        cases.emplace_back("arrays for a smaller grid", sound(bigGrid));
        TerrainWriter noHeights = withGrid(n);
        noHeights.Chunk(0xA004, small.Normals());
        cases.emplace_back("no heights", noHeights.bytes);
        TerrainWriter noNormals = withGrid(n);
        noNormals.Chunk(0xA002, small.Heights());
        cases.emplace_back("no normals", noNormals.bytes);
    }
    {  // Names without their terminator.
        TerrainWriter w = withGrid(n);
        w.Chunk(1, {'g', 'r', 'a', 's', 's'});
        cases.emplace_back("material name unterminated", sound(w));
        TerrainWriter empty = withGrid(n);
        empty.Chunk(1, {});
        cases.emplace_back("material name empty", sound(empty));
        std::vector<uint8_t> materials = TerrainWriter::Words({1, 1, 0, 5});
        materials.insert(materials.end(), {'g', 'r', 'a', 's', 's'});
        TerrainWriter texture = withGrid(n);
        texture.Chunk(0xB002, materials);
        cases.emplace_back("texture name unterminated", sound(texture));
    }
    {  // Band and material records running past their payload.
        TerrainWriter bands = withGrid(n);
        bands.Chunk(0xB001, TerrainWriter::Words({3, 0, F(16), F(10)}));
        cases.emplace_back("bands past payload", sound(bands));
        TerrainWriter manyBands = withGrid(n);
        manyBands.Chunk(0xB001, TerrainWriter::Words({0x7FFFFFFF, 0, F(16)}));
        cases.emplace_back("band count huge", sound(manyBands));
        TerrainWriter count = withGrid(n);
        count.Chunk(0xB002, TerrainWriter::Words({2, 1, 0, 6}));
        cases.emplace_back("materials past payload", sound(count));
        std::vector<uint8_t> longName = TerrainWriter::Words({1, 1, 0, 0x7FFFFFF0});
        longName.insert(longName.end(), {'a', 0});
        TerrainWriter name = withGrid(n);
        name.Chunk(0xB002, longName);
        cases.emplace_back("name length past payload", sound(name));
        TerrainWriter layers = withGrid(n);
        layers.Chunk(0xB002, TerrainWriter::Words({6, 0, 0, 1, 2, 3, 4, 5}));
        cases.emplace_back("more layers than nibbles can name", sound(layers));
        TerrainWriter header = withGrid(n);
        header.Chunk(0xB002, TerrainWriter::Words({1}));
        cases.emplace_back("materials header short", sound(header));
    }
    for (const auto& [why, bytes] : cases) {
        CFSTerrainModel terrain;
        EXPECT_FALSE(LoadOverSound(terrain, bytes)) << why;
        ExpectReleased(terrain, why);
    }
    // Read without the full flag, the band and material chunks are not looked at.
    TerrainWriter bands = withGrid(n);
    bands.Chunk(0xB001, TerrainWriter::Words({3, 0, F(16), F(10)}));
    const std::vector<uint8_t> bytes = sound(bands);
    CFSTerrainModel heightsOnly;
    EXPECT_TRUE(heightsOnly.LoadFromMemory(bytes.data(), bytes.size(), 5, false));
}

TEST(TerrainFile, AVerticalFaceNormalIsTakenAsFlatGround) {
    SmallTerrain broken;
    broken.normalY = 0;  // every normal (0.7, 0, 0): no vertical component
    const std::vector<uint8_t> bytes = broken.Bytes();
    CFSTerrainModel terrain;
    ASSERT_TRUE(terrain.LoadFromMemory(bytes.data(), bytes.size(), 5, true));
    // Square (1, 2) stands at the height of its corner (1, 2): 0.05 km.
    for (double fx : {0.0, 0.3, 0.9})
        for (double fz : {0.0, 0.5, 0.99})
            EXPECT_EQ(terrain.HeightAbove({F((1 + fx) * 60), F(1), F((2 + fz) * 60)}),
                      F(1) - SmallTerrain::Fixed(0.05));
    // A nearly vertical face gives a slope beyond the 16.16 range: saturated, no fault.
    SmallTerrain steep;
    steep.normalY = 1;
    const std::vector<uint8_t> steepBytes = steep.Bytes();
    ASSERT_TRUE(terrain.LoadFromMemory(steepBytes.data(), steepBytes.size(), 5, true));
    EXPECT_EQ(terrain.HeightAbove({F(60), F(1), F(120)}), F(1) - SmallTerrain::Fixed(0.05));
    EXPECT_EQ(terrain.HeightAbove({F(70), F(1), F(150)}), kFixedMax);
}

TEST(TerrainFile, WindowsAreHeldToSixteenBitIndices) {
    SmallTerrain large;
    large.n = 300;
    large.withBands = false;
    const std::vector<uint8_t> bytes = large.Bytes();
    CFSTerrainModel terrain;
    for (const auto& [asked, used] : std::vector<std::pair<int, int>>{
             {1000, 255}, {256, 255}, {255, 255}, {33, 33}, {1, 2}, {0, 2}, {-7, 2}}) {
        ASSERT_TRUE(terrain.LoadFromMemory(bytes.data(), bytes.size(), asked, false));
        EXPECT_EQ(terrain.WindowSize(), used) << asked;
        EXPECT_EQ(terrain.Positions().size(), static_cast<size_t>(used) * used);
        EXPECT_LE(terrain.Quadtree().NodeCount(), terrain.Quadtree().Capacity());
    }
    terrain.SetWindowSize(100000);
    EXPECT_EQ(terrain.WindowSize(), 255);
    uint16_t highest = 0;
    for (uint16_t index : terrain.FullIndices())
        highest = std::max(highest, index);
    EXPECT_EQ(highest, 255 * 255 - 1);
    EXPECT_EQ(terrain.FullIndices().size(), 254u * 254u * 6u);
}

}  // namespace
