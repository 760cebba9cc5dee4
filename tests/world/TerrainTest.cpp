// Terrains: small files, sound and hostile, written here chunk by chunk (zipped with
// Info-ZIP's zip) and loaded; queries on the real terrains (whose heights the data build's
// tests check); and the drawing window that follows the eye (its culling shows in pictures).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "support/ImageTestFiles.h"
#include "support/TestSupport.h"
#include "world/FSTerrainModel.h"
#include "world/WorldTestNodes.h"

using world_test::F;
using world_test::TerrainsArchive;
using world_test::TestNode;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Words(const std::vector<int64_t>& values) {
    Bytes out;
    for (int64_t v : values)
        for (int k = 0; k < 4; ++k)
            out.push_back(static_cast<uint8_t>(static_cast<uint64_t>(v) >> (8 * k)));
    return out;
}

template <class... More>
Bytes Cat(Bytes first, const More&... more) {
    (first.insert(first.end(), more.begin(), more.end()), ...);
    return first;
}

Bytes Text(const std::string& text) {
    return Cat(Bytes(text.begin(), text.end()), Bytes{0});
}

// A chunk whose header claims length bytes (by default the payload's size).
Bytes Chunk(uint32_t id, const Bytes& payload, int64_t length = -1) {
    return Cat(Words({id, length < 0 ? static_cast<int64_t>(payload.size()) : length}), payload);
}

Bytes Trimmed(Bytes bytes, size_t less) {
    bytes.resize(bytes.size() - less);
    return bytes;
}

int32_t Fixed(double v) {
    return static_cast<int32_t>(std::lround(v * 65536.0));
}

// A small sound terrain: N × N vertices over side km, heights h(i, j) = i × 0.01 +
// j × 0.02 km (plus a bump of its own at each vertex) with exact face normals, two layers,
// two bands with a coordinate set each, and an unknown chunk. Heights and normals come
// last, so that cutting the file anywhere loses something the terrain cannot do without.
struct SmallTerrain {
    int n = 4;
    double side = 240.0;
    bool withBands = true;
    int32_t normalY = -1;  // −1: the true normals; otherwise every normal is (0.7, normalY, 0)
    double bump = 0;       // km

    double HeightKm(int i, int j) const {
        i %= n;
        j %= n;
        return i * 0.01 + j * 0.02 + bump * ((i * 7 + j * 3) % 5);
    }

    Bytes Heights() const {
        std::vector<int64_t> h;
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i)
                h.push_back(Fixed(HeightKm(i, j)));
        return Words(h);
    }
    Bytes Normals() const {
        std::vector<int64_t> values;
        const double s = side / n;
        auto normal = [&](double gx, double gz) {
            const double l = std::sqrt(gx * gx + 1 + gz * gz);
            if (normalY >= 0)
                values.insert(values.end(), {Fixed(0.7), normalY, 0});
            else
                values.insert(values.end(), {Fixed(-gx / l), Fixed(1 / l), Fixed(-gz / l)});
        };
        for (int j = 0; j < n; ++j) {
            for (int i = 0; i < n; ++i) {
                const double h00 = HeightKm(i, j), h10 = HeightKm(i + 1, j), h01 = HeightKm(i, j + 1),
                             h11 = HeightKm(i + 1, j + 1);
                normal((h10 - h00) / s, (h11 - h10) / s);
                normal((h11 - h01) / s, (h01 - h00) / s);
            }
        }
        return Words(values);
    }
    Bytes TextureCoordinates() const {  // two sets
        std::vector<int64_t> uv;
        for (int k = 0; k < 2 * n * n; ++k)
            uv.insert(uv.end(), {int64_t{12} * 65536 * (k % n) / n, int64_t{12} * 65536 * (k / n % n) / n});
        return Words(uv);
    }
    Bytes MaterialMap() const {
        Bytes map(static_cast<size_t>(n) * n, 0);
        for (size_t k = 0; k < map.size(); ++k)
            if (static_cast<int>(k % n) >= n / 2) map[k] = 2;  // layer 1
        return map;
    }
    Bytes Materials() const {
        Bytes out = Words({2, 2});
        for (int m = 0; m < 2; ++m) {
            out = Cat(out, Words({m}));
            for (const char* name : {"terrain/grass.png", "terrain/grass_far.png"})
                out = Cat(out, Words({static_cast<int64_t>(std::string(name).size() + 1)}), Text(name));
        }
        return out;
    }
    Bytes File() const {
        Bytes bands;
        if (withBands)
            bands = Cat(Chunk(0xB001, Words({2, Fixed(0), Fixed(16), Fixed(10), Fixed(170)})),
                        Chunk(0xB002, Materials()));
        return Cat(Chunk(1, Text("grass")), Chunk(1, Text("rock")), Chunk(2, Words({n})),
                   Chunk(3, Words({Fixed(side)})), Chunk(4, Words({1})),
                   Chunk(0x77, {1, 2, 3}),  // not a terrain chunk: skipped
                   Chunk(0xA001, MaterialMap()), Chunk(0xA003, TextureCoordinates()), bands,
                   Chunk(0xA002, Heights()), Chunk(0xA004, Normals()));
    }
};

// Loads bytes into a model that held a sound terrain before: a refused file must take
// the old one away completely.
void ExpectRefusedOverSound(const Bytes& bytes, const std::string& why) {
    CFSTerrainModel terrain;
    const Bytes sound = SmallTerrain{}.File();
    ASSERT_TRUE(terrain.LoadFromMemory(sound.data(), sound.size(), 5, true));
    EXPECT_FALSE(terrain.LoadFromMemory(bytes.data(), bytes.size(), 5, true)) << why;
    EXPECT_TRUE(
        !terrain.IsLoaded() &&
        terrain.GetGridSize() + terrain.WindowSize() + terrain.Spacing() + terrain.TextureSetCount() == 0 &&
        terrain.Layers().empty() && terrain.Bands().empty() && terrain.Positions().empty() &&
        terrain.FullIndices().empty() && terrain.Quadtree().NodeCount() == 0 &&
        !terrain.IsTileVisible({0, 0}) && terrain.HeightAbove({F(1), F(2), F(3)}) == F(2))
        << why;
}

TEST(TerrainFile, ASmallTerrainZippedByInfoZipLoadsWholeAndMissingOrEmptyMembersNot) {
    const std::string folder = testing_support::MakeTempFolder("terrains");
    const SmallTerrain small;
    for (const auto& [member, bytes] : {std::pair{"small.ter", small.File()}, {"empty.ter", Bytes{}}}) {
        ASSERT_TRUE(image_test_files::WriteText(folder + member, std::string(bytes.begin(), bytes.end())));
        ASSERT_TRUE(image_test_files::RunShell("cd '" + folder + "' && zip -q -X terrains.zip " + member));
    }
    const std::string archive = folder + "terrains.zip";
    CFSTerrainModel terrain;
    ASSERT_TRUE(terrain.Load(archive, "SMALL.TER", 33, true));  // members match in any case
    EXPECT_FALSE(terrain.TexturesFetched());  // no GL context: they wait for the first drawing
    EXPECT_TRUE(terrain.GetGridSize() == 4 &&
                terrain.WindowSize() == 5);  // a window never covers the field twice
    ASSERT_EQ(terrain.Layers().size(), 2u);
    EXPECT_TRUE(terrain.Layers()[1].name == "rock" && terrain.DrawableBands() == 2);
    // Layer weights from the nibbles: columns 2 and 3 are in layer 1.
    EXPECT_TRUE(terrain.LayerWeight(1, 1, 0) == 0 && terrain.LayerWeight(1, 2, 3) == kFixedOne &&
                terrain.LayerWeight(0, 1, 0) == kFixedOne);
    // Chunk order does not matter: the grid size may come after the arrays.
    const Bytes late = Cat(Chunk(0xA002, small.Heights()), Chunk(0xA004, small.Normals()),
                           Chunk(3, Words({F(240)})), Chunk(2, Words({4})));
    CFSTerrainModel reordered;
    ASSERT_TRUE(reordered.LoadFromMemory(late.data(), late.size(), 33, true));
    EXPECT_TRUE(reordered.HeightAbove({F(90), 0, F(135)}) == terrain.HeightAbove({F(90), 0, F(135)}) &&
                reordered.Layers().empty());
    // A missing or empty member, or a missing archive, loads nothing and takes the loaded
    // terrain away.
    for (const auto& [from, member] :
         {std::pair{archive, "other.ter"}, {archive, "empty.ter"}, {folder + "none.zip", "small.ter"}}) {
        ASSERT_TRUE(terrain.Load(archive, "small.ter", 5, true));
        EXPECT_FALSE(terrain.Load(from, member, 5, true) || terrain.IsLoaded() ||
                     !terrain.Positions().empty() || !terrain.Layers().empty() ||
                     terrain.TileOf({}, {0, 0}) != FSTile{})
            << member;
    }
}

TEST(TerrainFile, TruncatedAndHostileFilesAreRefused) {
    SmallTerrain small;
    const Bytes whole = small.File();
    // Cut anywhere, the file loses a header, a payload or a chunk it needs.
    for (size_t length = 0; length < whole.size(); ++length)
        ExpectRefusedOverSound(Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length)),
                               "cut at " + std::to_string(length));

    const Bytes heights = small.Heights(), normals = small.Normals();
    auto head = [](int64_t grid = 4, int64_t side = F(240)) {
        return Cat(Chunk(2, Words({grid})), Chunk(3, Words({side})));
    };
    // A head, chunks, and the sound heights and normals.
    auto sound = [&](const Bytes& start, const Bytes& more = {}) {
        return Cat(start, more, Chunk(0xA002, heights), Chunk(0xA004, normals));
    };
    std::vector<std::pair<std::string, Bytes>> cases = {
        {"length one past the end", Cat(head(), Chunk(0xA002, heights),
                                        Chunk(0xA004, normals, static_cast<int64_t>(normals.size()) + 1))},
        {"length 4 GB", sound(head(), Chunk(0x55, {1, 2, 3, 4}, 0xFFFFFFFFu))},
        {"two grid sizes", sound(head(), Chunk(2, Words({8})))},
        {"no grid size", sound(Chunk(3, Words({F(240)})))},
        {"no side", sound(Chunk(2, Words({4})))},
        {"two-byte version", sound(head(), Chunk(4, {1, 0}))},
        // Arrays that do not fit what N demands.
        {"heights short", Cat(head(), Chunk(0xA002, Trimmed(heights, 4)), Chunk(0xA004, normals))},
        {"normals short", Cat(head(), Chunk(0xA002, heights), Chunk(0xA004, Trimmed(normals, 12)))},
        {"material map short", sound(head(), Chunk(0xA001, Trimmed(small.MaterialMap(), 1)))},
        {"coordinates not whole sets", sound(head(), Chunk(0xA003, Trimmed(small.TextureCoordinates(), 8)))},
        {"arrays for a smaller grid", sound(head(8))},
        {"no heights", Cat(head(), Chunk(0xA004, normals))},
        {"no normals", Cat(head(), Chunk(0xA002, heights))},
        // Names without their terminator.
        {"material name unterminated", sound(head(), Chunk(1, {'g', 'r', 'a', 's', 's'}))},
        {"material name empty", sound(head(), Chunk(1, {}))},
        {"texture name unterminated",
         sound(head(), Chunk(0xB002, Cat(Words({1, 1, 0, 5}), Bytes{'g', 'r', 'a', 's', 's'})))},
        // Band and material records running past their payload.
        {"bands past payload", sound(head(), Chunk(0xB001, Words({3, 0, F(16), F(10)})))},
        {"band count huge", sound(head(), Chunk(0xB001, Words({0x7FFFFFFF, 0, F(16)})))},
        {"materials past payload", sound(head(), Chunk(0xB002, Words({2, 1, 0, 6})))},
        {"name length past payload",
         sound(head(), Chunk(0xB002, Cat(Words({1, 1, 0, 0x7FFFFFF0}), Bytes{'a', 0})))},
        {"more layers than nibbles can name", sound(head(), Chunk(0xB002, Words({6, 0, 0, 1, 2, 3, 4, 5})))},
        {"materials header short", sound(head(), Chunk(0xB002, Words({1})))},
    };
    for (int64_t grid : {0u, 1u, 0x10000u, 0xFFFFFFFFu, 0x80000000u})
        cases.emplace_back("grid " + std::to_string(grid), sound(head(grid)));
    for (int64_t side : {0, -F(240), 3})
        cases.emplace_back("side " + std::to_string(side), sound(head(4, side)));
    for (const auto& [why, bytes] : cases)
        ExpectRefusedOverSound(bytes, why);
    // Read without the full flag, the band and material chunks are not looked at.
    const Bytes bands = sound(head(), Chunk(0xB001, Words({3, 0, F(16), F(10)})));
    CFSTerrainModel heightsOnly;
    EXPECT_TRUE(heightsOnly.LoadFromMemory(bands.data(), bands.size(), 5, false) &&
                heightsOnly.Bands().empty());
}

// Under a point of square (i, j) the ground lies on the triangle of its corners (i, j) and
// (i + 1, j + 1) with (i + 1, j) where fx > fz (the first), else with (i, j + 1), and has
// that triangle's normal; at the far edges the heights of column and row 0 take over.
TEST(TerrainFile, TheGroundFollowsTheTrianglesOfTheGridAndWrapsAtTheFarEdges) {
    SmallTerrain bumpy;  // 7.5 km squares
    bumpy.n = 32;
    bumpy.bump = 0.1;
    const Bytes bytes = bumpy.File();
    CFSTerrainModel terrain;
    ASSERT_TRUE(terrain.LoadFromMemory(bytes.data(), bytes.size(), 5, false));
    std::mt19937 random(7);
    std::uniform_real_distribution<double> across(0.0, 32.0);  // in squares
    for (int k = 0; k < 2000; ++k) {
        const double x = k < 20 ? 31.9999 : across(random), z = across(random);
        const int i = static_cast<int>(x), j = static_cast<int>(z);
        const double fx = x - i, fz = z - j, h00 = bumpy.HeightKm(i, j), h11 = bumpy.HeightKm(i + 1, j + 1);
        const double ground =
            fx > fz ? h00 + fx * (bumpy.HeightKm(i + 1, j) - h00) + fz * (h11 - bumpy.HeightKm(i + 1, j))
                    : h00 + fz * (bumpy.HeightKm(i, j + 1) - h00) + fx * (h11 - bumpy.HeightKm(i, j + 1));
        const FSFixedVector p{F(x * 7.5), 0, F(z * 7.5)};
        ASSERT_NEAR(-terrain.HeightAbove(p) / 65536.0, ground, 5e-4) << x << "," << z;
        ASSERT_EQ(terrain.GroundNormal(p), terrain.FaceNormal(i, j, fx > fz ? 0 : 1)) << x << "," << z;
    }
    // Points on a diagonal (fx = fz exactly) take the second triangle.
    const FSFixed s = terrain.Spacing();
    for (FSFixed t : {FSFixed{0}, FSFixed{1}, s / 3, s - 1}) {
        const FSGridLocation at = terrain.LocateGrid({5 * s + t, 0, 9 * s + t});
        EXPECT_TRUE(at.column == 5 && at.row == 9 && at.fx == at.fz) << t;
        EXPECT_EQ(terrain.GroundNormal({5 * s + t, 0, 9 * s + t}), terrain.FaceNormal(5, 9, 1)) << t;
    }
}

TEST(TerrainFile, AVerticalFaceNormalIsTakenAsFlatGroundAndASteepOneSaturates) {
    SmallTerrain broken;
    broken.normalY = 0;  // every normal (0.7, 0, 0): no vertical component
    const Bytes bytes = broken.File();
    CFSTerrainModel terrain;
    ASSERT_TRUE(terrain.LoadFromMemory(bytes.data(), bytes.size(), 5, true));
    // Square (1, 2) stands at the height of its corner (1, 2): 0.05 km.
    for (double fx : {0.0, 0.3, 0.9})
        for (double fz : {0.0, 0.5, 0.99})
            EXPECT_EQ(terrain.HeightAbove({F((1 + fx) * 60), F(1), F((2 + fz) * 60)}), F(1) - Fixed(0.05));
    SmallTerrain steep;  // a nearly vertical face: a slope beyond the 16.16 range
    steep.normalY = 1;
    const Bytes steepBytes = steep.File();
    ASSERT_TRUE(terrain.LoadFromMemory(steepBytes.data(), steepBytes.size(), 5, true));
    EXPECT_EQ(terrain.HeightAbove({F(60), F(1), F(120)}), F(1) - Fixed(0.05));
    EXPECT_EQ(terrain.HeightAbove({F(70), F(1), F(150)}), kFixedMax);
}

TEST(TerrainFile, WindowsAreHeldToSixteenBitIndicesAndAnySizeCentresTheEye) {
    SmallTerrain large;  // 0.8 km squares
    large.n = 300;
    large.withBands = false;
    const Bytes bytes = large.File();
    CFSTerrainModel terrain;
    for (const auto& [asked, used] :
         std::vector<std::pair<int, int>>{{1000, 255}, {256, 255}, {255, 255}, {33, 33}, {1, 2}, {-7, 2}}) {
        ASSERT_TRUE(terrain.LoadFromMemory(bytes.data(), bytes.size(), asked, false));
        EXPECT_TRUE(terrain.WindowSize() == used &&
                    terrain.Positions().size() == static_cast<size_t>(used) * used &&
                    terrain.Quadtree().NodeCount() <= terrain.Quadtree().Capacity())
            << asked;
    }
    // Setting the size rebuilds the window around the eye's vertex.
    terrain.Prepare({F(0.9), F(1), F(0.9)}, {2, 2}, false);  // terrain x and z 150.9: vertex 188
    for (const auto& [asked, w] :
         std::vector<std::pair<int, int>>{{34, 34}, {65, 65}, {17, 17}, {20, 20}, {100000, 255}}) {
        terrain.SetWindowSize(asked);
        const std::vector<uint16_t>& indices = terrain.FullIndices();
        EXPECT_TRUE(terrain.WindowSize() == w && terrain.ExtendedSide() == 300 + w &&
                    terrain.Quadtree().Capacity() == TerrainQuadtreeCapacity(w) &&
                    indices.size() == static_cast<size_t>(w - 1) * (w - 1) * 6 &&
                    *std::max_element(indices.begin(), indices.end()) == w * w - 1 &&
                    (terrain.OriginColumn() + (w - 1) / 2) % 300 == 188 &&
                    terrain.Positions()[(w - 1) / 2 * (w + 1)].y == terrain.Height(188, 188))
            << w;
    }
}

FSFixed Wrapped(FSFixed v, FSFixed side) {
    return ((v % side) + side) % side;
}

// A real terrain read for the height queries only, each read once.
const CFSTerrainStorage& Heights(const std::string& name) {
    static std::map<std::string, CFSTerrainStorage> loaded;
    CFSTerrainStorage& terrain = loaded[name];
    if (!terrain.IsLoaded()) {
        EXPECT_TRUE(terrain.Load(TerrainsArchive(), name, 33, false)) << name;
    }
    return terrain;
}

TEST(Terrain, LocalPositionsInCellsAndOutsideTheFieldMapOntoIt) {
    const CFSTerrainStorage& terrain = Heights("coast.ter");
    // Cell (2, 1), local (−7.5, 1.2, 12.25): terrain (142.5, 1.2, 102.25).
    const FSFixedVector local{F(-7.5), F(1.2), F(12.25)};
    const FSCell cell{2, 1};
    const FSFixedVector p = CFSTerrainStorage::TerrainPosition(local, cell);
    EXPECT_EQ(p, (FSFixedVector{F(142.5), F(1.2), F(102.25)}));
    EXPECT_TRUE(terrain.HeightAboveAt(local, cell) == terrain.HeightAbove(p) &&
                terrain.GroundNormalAt(local, cell) == terrain.GroundNormal(p));
    EXPECT_EQ(terrain.TileOf(local, cell), (FSTile{76, 54}));  // 142.5 and 102.25 over 1.875
    // Positions outside the field, and local positions far outside their cell, are wrapped.
    for (const FSFixedVector& outside :
         {FSFixedVector{F(-239.6), F(2), F(17.2)}, FSFixedVector{F(240.4), F(2), F(257.2)},
          FSFixedVector{F(480.4), F(2), F(-222.8)}}) {
        EXPECT_NEAR(terrain.HeightAbove(outside), terrain.HeightAbove({F(0.4), F(2), F(17.2)}), 2);
        const FSGridLocation at = terrain.LocateGrid(outside);
        EXPECT_TRUE(at.column >= 0 && at.column < 128 && at.row >= 0 && at.row < 128)
            << at.column << "," << at.row;
    }
    EXPECT_NEAR(terrain.HeightAboveAt({F(90.4), F(2), F(17.2)}, {2, 0}),
                terrain.HeightAboveAt({F(30.4), F(2), F(17.2)}, {3, 0}), 2);
}

TEST(Terrain, NodesTouchTheGroundWithinAMetreOfIt) {
    const CFSTerrainStorage& terrain = Heights("valley.ter");
    const FSCell cell{1, 2};
    const FSFixed half = F(0.02), x = F(-11.0), z = F(4.0);  // a 40 m box
    TestNode node, point;  // without a model the node's own position is tested
    node.model = world_test::Cube(0.02);
    // The box's bottom corners (grown by 66) stand at (x ± 0.02, z ± 0.02) ± 66; the bottom
    // that sits on the highest ground under them:
    FSFixed lowestAbove = kFixedMax;
    for (FSFixed dx : {-half - 66, half + 66})
        for (FSFixed dz : {-half - 66, half + 66})
            lowestAbove = std::min(lowestAbove, terrain.HeightAboveAt({x + dx, 0, z + dz}, cell));
    const FSFixed pointAbove = terrain.HeightAboveAt({x, 0, z}, cell);
    // 67 above is not below 1 m's 67 / 65536; 66 above is.
    const std::tuple<TestNode*, FSFixed, bool> cases[] = {{&node, -lowestAbove + half + 66 + F(0.010), false},
                                                          {&node, -lowestAbove + half + 66 + 67, false},
                                                          {&node, -lowestAbove + half + 66 + 66, true},
                                                          {&node, -lowestAbove + half + 66 - F(0.5), true},
                                                          {&point, -pointAbove + F(0.002), false},
                                                          {&point, -pointAbove + 50, true}};
    for (const auto& [n, y, touches] : cases) {
        n->SetCell(cell);
        n->Place({x, y, z});
        n->SavePosition();
        EXPECT_EQ(terrain.TouchesGround(*n), touches) << (n == &node) << " " << y;
    }
    node.Place({x, -lowestAbove - F(0.3), z});  // came down through the ground: the swept box
    node.Move({x, -lowestAbove + F(0.3), z});
    EXPECT_TRUE(terrain.TouchesGround(node));
}

TEST(TerrainWindow, FollowsTheEyeAcrossTheSeamInOneToFourPieces) {
    CFSTerrainModel terrain;
    ASSERT_TRUE(terrain.Load(TerrainsArchive(), "valley.ter", 33, true));
    // Two triangles per square, row by row: square (5, 7) starts at vertex 7 × 33 + 5.
    const std::vector<uint16_t>& indices = terrain.FullIndices();
    ASSERT_EQ(indices.size(), 32u * 32u * 6u);
    const uint16_t k = 7 * 33 + 5;
    EXPECT_EQ(
        std::vector<uint16_t>(indices.begin() + (5 + 7 * 32) * 6, indices.begin() + (5 + 7 * 32) * 6 + 6),
        (std::vector<uint16_t>{k, uint16_t(k + 34), uint16_t(k + 1), k, uint16_t(k + 33), uint16_t(k + 34)}));
    const int32_t n = terrain.GetGridSize();
    const FSFixed s = terrain.Spacing();
    // Eyes whose grid vertex puts the window wholly inside the field, over the right edge,
    // over the bottom edge, and over both.
    const std::pair<FSCell, FSFixedVector> eyes[] = {{{1, 1}, {F(1.0), F(2), F(2.0)}},
                                                     {{3, 1}, {F(25.0), F(2), F(-3.0)}},
                                                     {{1, 0}, {F(-3.0), F(2), F(-28.5)}},
                                                     {{0, 3}, {F(-29.0), F(2), F(29.9)}}};
    for (const auto& [cell, local] : eyes) {
        terrain.Prepare(local, cell, false);
        const FSFixedVector p = CFSTerrainStorage::TerrainPosition(local, cell);
        const int32_t column = Wrapped(p.x, terrain.Side()) / s, row = Wrapped(p.z, terrain.Side()) / s;
        EXPECT_TRUE(terrain.OriginColumn() == (column - 16 + n) % n &&
                    terrain.OriginRow() == (row - 16 + n) % n);
        for (int32_t v = 0; v < 33 * 33; ++v) {
            const int32_t a = v % 33, b = v / 33;
            ASSERT_EQ(terrain.Positions()[v],
                      (FSFixedVector{
                          a * s, terrain.Height(terrain.OriginColumn() + a, terrain.OriginRow() + b), b * s}))
                << a << "," << b;
        }
        // The texture coordinates run on evenly across the seam in both bands (u along a
        // row, v down a column).
        for (int32_t set = 0; set < 2; ++set) {
            const std::vector<FSFixed>& uv = terrain.WindowTextureCoordinates(set);
            for (int32_t a = 0; a + 1 < 33; ++a) {
                ASSERT_EQ(uv[2 * (a + 1 + 33 * 20)] - uv[2 * (a + 33 * 20)], FixedFromInt(12) / n) << a;
                ASSERT_EQ(uv[2 * (20 + 33 * (a + 1)) + 1] - uv[2 * (20 + 33 * a) + 1], FixedFromInt(12) / n)
                    << a;
            }
        }
        // The drawing offset is the eye in window coordinates: its vertex sits at 16.
        EXPECT_EQ(terrain.DrawingOffset().x, 16 * s + (Wrapped(p.x, terrain.Side()) - column * s));
    }
}

}  // namespace
