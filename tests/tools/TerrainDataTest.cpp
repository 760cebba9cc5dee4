// The terrains of terrains.zip, read back through the game's archive reader and parsed
// here on their own, independently of the data build's writer.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "databuild/TerrainFile.h"
#include "tools/ArchiveTestSupport.h"
#include "world/FSTerrainFile.h"

namespace {

using archive_test::PowerOfTwo;
using archive_test::Texel;

const char* const kTerrainNames[] = {"valley.ter", "coast.ter", "farmland.ter"};
constexpr double kOne = 65536.0;

// A terrain file as the game's parser reads it, with the order of its chunks. problem is
// empty when every chunk header lies inside the file and the game accepts it.
struct ParsedTerrain {
    std::string problem;
    std::vector<uint32_t> chunkOrder;
    std::vector<std::string> names;
    uint32_t n = 0;
    int32_t side = 0;
    uint32_t version = 0;
    std::vector<uint8_t> materialMap;
    std::vector<int32_t> heights;
    std::vector<int32_t> uv;       // sets x N x N pairs
    std::vector<int32_t> normals;  // N x N x 2 x 3
    std::vector<std::pair<int32_t, int32_t>> bands;
    std::vector<FSTerrainFileMaterial> materials;

    // Vertex (i, j) of the grid, which wraps round at its edges.
    size_t Index(int i, int j) const {
        const int size = static_cast<int>(n);
        return ((i % size + size) % size) + static_cast<size_t>(size) * ((j % size + size) % size);
    }
    double Height(int i, int j) const { return heights[Index(i, j)] / kOne; }
    double Spacing() const { return side / kOne / n; }
    size_t Cells() const { return static_cast<size_t>(n) * n; }
    int LayerOf(const std::string& name) const {
        const auto found = std::find(names.begin(), names.end(), name);
        return found == names.end() ? -1 : static_cast<int>(found - names.begin());
    }
    // True when a nibble of the vertex's material byte puts it into the layer.
    bool InLayer(int i, int j, int layer) const {
        const uint8_t m = materialMap[Index(i, j)];
        return layer >= 1 && ((m & 15) == layer + 1 || (m >> 4) == layer + 1);
    }
};

uint32_t U32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

ParsedTerrain Parse(const uint8_t* bytes, size_t size) {
    ParsedTerrain t;
    size_t at = 0;
    for (; at < size && size - at >= 8; at += 8 + static_cast<size_t>(U32(bytes + at + 4)))
        t.chunkOrder.push_back(U32(bytes + at));
    FSTerrainFileData data;
    if (at != size) {
        t.problem = "a chunk runs past the end";
    } else if (!ParseTerrainFile(bytes, size, true, data)) {
        t.problem = "the game refuses it";
    }
    if (!t.problem.empty()) return t;
    t.names = data.names;
    t.n = static_cast<uint32_t>(data.gridSize);
    t.side = data.side;
    t.version = data.version;
    t.materialMap = data.materialMap;
    t.heights = data.heights;
    t.uv = data.textureCoordinates;
    for (const FSFixedVector& normal : data.normals)
        t.normals.insert(t.normals.end(), {normal.x, normal.y, normal.z});
    for (const FSTerrainFileBand& band : data.bands)
        t.bands.emplace_back(band.start, band.end);
    t.materials = data.materials;
    return t;
}

ParsedTerrain LoadTerrain(const std::string& name) {
    const FSMemoryBlock block = ReadArchiveMember(MakeDataPath("data\\terrains.zip"), name);
    ParsedTerrain t = block ? Parse(block.data.get(), block.size) : ParsedTerrain{};
    if (!block) t.problem = "member cannot be read";
    return t;
}

std::map<std::string, ParsedTerrain>& Terrains() {
    static std::map<std::string, ParsedTerrain> terrains = [] {
        std::map<std::string, ParsedTerrain> loaded;
        for (const char* name : kTerrainNames)
            loaded[name] = LoadTerrain(name);
        return loaded;
    }();
    return terrains;
}

TEST(TerrainData, ChunksAreCompleteAndConsistent) {
    for (const char* name : kTerrainNames) {
        const ParsedTerrain& t = Terrains()[name];
        ASSERT_EQ(t.problem, "") << name;
        // The grid size comes before the arrays that depend on it.
        const auto position = [&](uint32_t id) {
            return std::find(t.chunkOrder.begin(), t.chunkOrder.end(), id) - t.chunkOrder.begin();
        };
        for (uint32_t id : {3u, 4u, 0xA001u, 0xA002u, 0xA003u, 0xA004u, 0xB001u, 0xB002u}) {
            EXPECT_EQ(std::count(t.chunkOrder.begin(), t.chunkOrder.end(), id), 1) << name << " chunk " << id;
            EXPECT_LT(position(2), position(id)) << name;
        }
        // Nothing else but the material names, which the game would have to skip.
        EXPECT_EQ(t.chunkOrder.size(), 9 + t.names.size()) << name;
        EXPECT_EQ(t.n, 128u) << name;
        EXPECT_EQ(t.side, 240 * 65536) << name;
        EXPECT_EQ(t.version, kTerrainFileVersion) << name;
        ASSERT_EQ(t.heights.size(), t.Cells()) << name;
        ASSERT_EQ(t.materialMap.size(), t.Cells()) << name;
        ASSERT_EQ(t.normals.size(), t.Cells() * 6) << name;

        // One texture coordinate set per band, one texture per band for every material,
        // the materials in the order of their names, at most a base and four layers.
        ASSERT_FALSE(t.bands.empty()) << name;
        EXPECT_EQ(t.uv.size(), t.bands.size() * t.Cells() * 2) << name;
        ASSERT_EQ(t.materials.size(), t.names.size()) << name;
        EXPECT_GE(t.names.size(), 3u) << name;
        EXPECT_LE(t.names.size(), 5u) << name;
        for (size_t k = 0; k < t.materials.size(); ++k) {
            EXPECT_EQ(t.materials[k].identifier, k) << name;
            EXPECT_EQ(t.materials[k].textureNames.size(), t.bands.size()) << name;
        }
        // Bands in order, each fading in before the one in front ends; squared ends fit 16.16.
        EXPECT_EQ(t.bands.front().first, 0) << name;
        for (size_t b = 0; b < t.bands.size(); ++b) {
            EXPECT_LT(t.bands[b].first, t.bands[b].second) << name;
            EXPECT_LT(t.bands[b].second / kOne * t.bands[b].second / kOne, 32767.0) << name;
            if (b > 0) {
                EXPECT_LT(t.bands[b].first, t.bands[b - 1].second) << name;
                EXPECT_GT(t.bands[b].second, t.bands[b - 1].second) << name;
            }
        }
        // Every nibble is empty or names an existing layer above the base.
        for (uint8_t m : t.materialMap) {
            for (int nibble : {m & 15, m >> 4}) {
                EXPECT_TRUE(nibble == 0 || (nibble >= 2 && nibble <= static_cast<int>(t.names.size())))
                    << name << ": nibble " << nibble;
            }
        }
    }
}

TEST(TerrainData, HeightsSuitTheFlyingAndJoinAcrossTheSeam) {
    for (const char* name : kTerrainNames) {
        const ParsedTerrain& t = Terrains()[name];
        ASSERT_EQ(t.problem, "") << name;
        const int n = static_cast<int>(t.n);
        const auto [lo, hi] = std::minmax_element(t.heights.begin(), t.heights.end());
        EXPECT_GE(*lo / kOne, -0.05) << name;
        EXPECT_LE(*hi / kOne, 3.0) << name;
        EXPECT_GE(*hi / kOne, 0.8) << name << ": some relief";
        EXPECT_GE(t.LayerOf("water"), 1) << name;

        // The seam: continuing each row (and column) in a straight line across the edge
        // misses the next height by no more than it does anywhere else, on average.
        for (int axis = 0; axis < 2; ++axis) {
            auto at = [&](int along, int across) {
                return axis == 0 ? t.Height(along, across) : t.Height(across, along);
            };
            std::vector<double> miss(static_cast<size_t>(n), 0.0);
            for (int k = 0; k < n; ++k) {
                for (int r = 0; r < n; ++r)
                    miss[static_cast<size_t>(k)] +=
                        std::fabs(at(k, r) - (2 * at(k - 1, r) - at(k - 2, r))) / n;
            }
            std::vector<double> sorted = miss;
            std::sort(sorted.begin(), sorted.end());
            const double median = sorted[sorted.size() / 2];
            // Columns 0 and 1 are the ones whose continuation crosses the seam.
            EXPECT_LT(miss[0], 2.5 * median + 1e-4) << name << " axis " << axis;
            EXPECT_LT(miss[1], 2.5 * median + 1e-4) << name << " axis " << axis;
        }
    }
}

TEST(TerrainData, ValleyHasSnowyMountainsAndTheCoastASeaLevel) {
    const ParsedTerrain& valley = Terrains()["valley.ter"];
    const ParsedTerrain& coast = Terrains()["coast.ter"];
    ASSERT_EQ(valley.problem, "");
    ASSERT_EQ(coast.problem, "");
    EXPECT_GE(*std::max_element(valley.heights.begin(), valley.heights.end()) / kOne, 2.0);
    EXPECT_GE(valley.LayerOf("snow"), 1);
    // The sea is one level surface at height 0 covering a good part of the world, but
    // not all of it.
    const int water = coast.LayerOf("water");
    ASSERT_GE(water, 1);
    size_t sea = 0;
    for (int j = 0; j < static_cast<int>(coast.n); ++j) {
        for (int i = 0; i < static_cast<int>(coast.n); ++i) {
            if (!coast.InLayer(i, j, water)) continue;
            EXPECT_EQ(coast.heights[i + coast.n * j], 0) << i << "," << j;
            ++sea;
        }
    }
    EXPECT_GT(sea, coast.Cells() / 3);
    EXPECT_LT(sea, coast.Cells() * 9 / 10);
}

// Ground height under (x, z) of square (i, j) as the game finds it: the plane of the face
// normal through the square's corner (i, j).
double PlaneHeight(const ParsedTerrain& t, int i, int j, bool second, double x, double z) {
    const int32_t* normal = &t.normals[(i + static_cast<size_t>(t.n) * j) * 6 + (second ? 3 : 0)];
    const double nx = normal[0] / kOne, ny = normal[1] / kOne, nz = normal[2] / kOne;
    const double s = t.Spacing();
    const double px = i * s, py = t.Height(i, j), pz = j * s;
    const double d = nx * px + ny * py + nz * pz;
    return (d - nx * x - nz * z) / ny;
}

TEST(TerrainData, FaceNormalsAreUnitUpwardAndFitTheirTriangles) {
    for (const char* name : kTerrainNames) {
        const ParsedTerrain& t = Terrains()[name];
        ASSERT_EQ(t.problem, "") << name;
        const int n = static_cast<int>(t.n);
        const double s = t.Spacing();
        int failures = 0;
        for (int j = 0; j < n && failures < 5; ++j) {
            for (int i = 0; i < n && failures < 5; ++i) {
                const double h00 = t.Height(i, j), h10 = t.Height(i + 1, j);
                const double h01 = t.Height(i, j + 1), h11 = t.Height(i + 1, j + 1);
                for (int k = 0; k < 2; ++k) {
                    const int32_t* normal = &t.normals[(i + static_cast<size_t>(n) * j) * 6 + 3 * k];
                    const double length = std::hypot(normal[0] / kOne, normal[1] / kOne, normal[2] / kOne);
                    if (std::fabs(length - 1.0) > 1e-4 || normal[1] <= 0) {
                        ADD_FAILURE()
                            << name << " square " << i << "," << j << " normal " << k << " length " << length;
                        ++failures;
                    }
                }
                // The first triangle (fx > fz) has the corners (0,0), (1,0), (1,1); the
                // second (fx <= fz) (0,0), (0,1), (1,1). Each plane passes through its
                // corners and through the interpolated height inside.
                struct Probe {
                    bool second;
                    double fx, fz, expected;
                };
                const Probe probes[] = {
                    {false, 1, 0, h10}, {false, 1, 1, h11}, {false, 2.0 / 3, 1.0 / 3, (h00 + h10 + h11) / 3},
                    {true, 0, 1, h01},  {true, 1, 1, h11},  {true, 1.0 / 3, 2.0 / 3, (h00 + h01 + h11) / 3},
                };
                for (const Probe& p : probes) {
                    const double y = PlaneHeight(t, i, j, p.second, (i + p.fx) * s, (j + p.fz) * s);
                    if (std::fabs(y - p.expected) > 0.0005) {
                        ADD_FAILURE()
                            << name << " square " << i << "," << j << (p.second ? " second" : " first")
                            << " at " << p.fx << "," << p.fz << ": plane " << y << ", grid " << p.expected;
                        ++failures;
                    }
                }
            }
        }
    }
}

TEST(TerrainData, TextureCoordinatesRunTwelveRepeatsAcrossTheWorld) {
    for (const char* name : kTerrainNames) {
        const ParsedTerrain& t = Terrains()[name];
        ASSERT_EQ(t.problem, "") << name;
        const int64_t n = t.n;
        const int64_t span = 12 * 65536;
        for (size_t set = 0; set * t.Cells() * 2 < t.uv.size(); ++set) {
            const int32_t* uv = &t.uv[set * t.Cells() * 2];
            bool exact = true;
            for (int64_t j = 0; j < n; ++j) {
                for (int64_t i = 0; i < n; ++i) {
                    exact = exact && uv[(i + n * j) * 2] == span * i / n &&
                            uv[(i + n * j) * 2 + 1] == span * j / n;
                }
            }
            EXPECT_TRUE(exact) << name << " set " << set;
            // One more step past the last vertex lands on exactly 12.0, where the game's copy
            // of vertex 0 beyond the seam continues (its coordinates plus 12.0).
            const int32_t last = uv[(n - 1) * 2], step = uv[(n - 1) * 2] - uv[(n - 2) * 2];
            EXPECT_EQ(last + step, span) << name;
            EXPECT_EQ(uv[0], 0) << name;
        }
    }
}

// How much neighbouring texels differ across the boundary after column (or row) k, wrapping.
double Step(const FSPngImage& image, bool columns, int k) {
    const int across = columns ? image.height : image.width;
    const int next = (k + 1) % (columns ? image.width : image.height);
    double sum = 0;
    for (int m = 0; m < across; ++m) {
        const uint8_t* a = columns ? Texel(image, k, m) : Texel(image, m, k);
        const uint8_t* b = columns ? Texel(image, next, m) : Texel(image, m, next);
        for (int c = 0; c < image.channels; ++c)
            sum += std::abs(a[c] - b[c]);
    }
    return sum / across;
}

TEST(TerrainData, EveryMaterialTextureIsInTheTextureArchiveAndRepeatsWithoutASeam) {
    std::set<std::string> used;
    for (const char* name : kTerrainNames) {
        const ParsedTerrain& t = Terrains()[name];
        ASSERT_EQ(t.problem, "") << name;
        for (const FSTerrainFileMaterial& material : t.materials) {
            const std::vector<std::string>& textures = material.textureNames;
            used.insert(textures.begin(), textures.end());
            // Each band has a texture of its own.
            for (size_t band = 1; band < textures.size(); ++band)
                EXPECT_NE(textures[band], textures[band - 1]) << name;
        }
    }
    EXPECT_GE(used.size(), 14u);  // seven grounds, near and far
    for (const std::string& member : used) {
        FSPngImage image;
        ASSERT_TRUE(ReadPng(MakeDataPath("data\\textures.zip"), member, image)) << member;
        EXPECT_TRUE(PowerOfTwo(image.width) && PowerOfTwo(image.height)) << member;
        EXPECT_GE(image.width, 64) << member;
        EXPECT_LE(image.width, 256) << member;
        // The step from the last column (row) to the first is no larger than the steps
        // between the columns (rows) inside, on average.
        for (bool columns : {true, false}) {
            const int count = columns ? image.width : image.height;
            double inside = 0;
            for (int k = 0; k + 1 < count; ++k)
                inside += Step(image, columns, k) / (count - 1);
            EXPECT_LT(Step(image, columns, count - 1), 2.0 * inside + 1.0) << member << " " << columns;
        }
    }
}

TEST(TerrainData, TheDocumentedFlatAreasAreLevel) {
    // As README.md lists them for route authors: the cell, the centre's local position
    // (km), the size along x and z (km) and the ground height (km).
    struct Documented {
        const char* terrain;
        int column, row;
        double x, z, sizeX, sizeZ, height;
    };
    const Documented areas[] = {
        {"valley.ter", 1, 0, -5.625, -13.125, 7.5, 11.25, 0.15},
        {"valley.ter", 1, 2, -1.875, -7.5, 11.25, 7.5, 0.14},
        {"coast.ter", 1, 1, -1.875, 7.5, 11.25, 7.5, 0.35},
        {"coast.ter", 2, 0, -3.75, 11.25, 11.25, 7.5, 0.10},
        {"coast.ter", 0, 2, 7.5, -20.625, 7.5, 11.25, 0.12},
        {"farmland.ter", 1, 1, -9.375, 7.5, 11.25, 7.5, 0.30},
        {"farmland.ter", 2, 3, 18.75, -20.625, 7.5, 11.25, 0.45},
    };
    for (const Documented& a : areas) {
        const ParsedTerrain& t = Terrains()[a.terrain];
        ASSERT_EQ(t.problem, "") << a.terrain;
        const double s = t.Spacing();
        // Terrain position of the area's corner, and the grid vertices it covers.
        const double x0 = a.column * 60.0 + a.x + 30.0 - a.sizeX / 2,
                     z0 = a.row * 60.0 + a.z + 30.0 - a.sizeZ / 2;
        EXPECT_GE(a.sizeX, 3.0);
        EXPECT_GE(a.sizeZ, 3.0);
        // The whole area lies inside its cell, so a route can place a runway there in
        // that cell's local coordinates.
        EXPECT_GE(a.x - a.sizeX / 2, -30.0);
        EXPECT_LE(a.x + a.sizeX / 2, 30.0);
        EXPECT_GE(a.z - a.sizeZ / 2, -30.0);
        EXPECT_LE(a.z + a.sizeZ / 2, 30.0);
        const int i0 = static_cast<int>(std::lround(x0 / s)), j0 = static_cast<int>(std::lround(z0 / s));
        const int w = static_cast<int>(std::lround(a.sizeX / s)),
                  d = static_cast<int>(std::lround(a.sizeZ / s));
        ASSERT_NEAR(i0 * s, x0, 1e-9) << a.terrain << ": the documented area starts on a grid vertex";
        ASSERT_NEAR(j0 * s, z0, 1e-9) << a.terrain;
        const int water = t.LayerOf("water");
        double lo = 1e9, hi = -1e9;
        for (int j = j0; j <= j0 + d; ++j) {
            for (int i = i0; i <= i0 + w; ++i) {
                lo = std::min(lo, t.Height(i, j));
                hi = std::max(hi, t.Height(i, j));
                EXPECT_FALSE(t.InLayer(i, j, water)) << a.terrain << " " << i << "," << j;
            }
        }
        EXPECT_LT(hi - lo, 0.001) << a.terrain << " area at " << a.x << "," << a.z;
        EXPECT_NEAR(lo, a.height, 0.001) << a.terrain << " area at " << a.x << "," << a.z;
        // The ground the game finds anywhere inside is that level, with an upright normal.
        for (int j = j0; j < j0 + d; ++j) {
            for (int i = i0; i < i0 + w; ++i) {
                for (bool second : {false, true}) {
                    const double y =
                        PlaneHeight(t, i, j, second, (i + 0.5) * s, (j + (second ? 0.75 : 0.25)) * s);
                    EXPECT_NEAR(y, a.height, 0.001) << a.terrain << " square " << i << "," << j;
                }
            }
        }
    }
}

TEST(TerrainData, TheWriterRefusesInconsistentRecords) {
    TerrainFile file;
    file.size = 4;
    file.heights.assign(16, 0);
    file.materials.assign(16, 0);
    file.bands = {{0.0, 10.0}};
    file.layers = {{"grass", 0, {"terrain/grass.png"}}};
    EXPECT_FALSE(EncodeTerrain(file).empty());
    TerrainFile shortHeights = file;
    shortHeights.heights.pop_back();
    EXPECT_TRUE(EncodeTerrain(shortHeights).empty());
    TerrainFile missingTexture = file;
    missingTexture.bands.push_back({5.0, 20.0});
    EXPECT_TRUE(EncodeTerrain(missingTexture).empty());
    TerrainFile sixLayers = file;
    sixLayers.layers.assign(6, file.layers.front());
    EXPECT_TRUE(EncodeTerrain(sixLayers).empty());

    // A plane rising 0.5 km per km along x: both normals of every square are the same
    // unit vector, tilted against the rise.
    TerrainFile ramp = file;
    ramp.side = 4.0;
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 4; ++i)
            ramp.heights[i + 4 * j] = ToFixed(0.5 * i);
    }
    const std::vector<FixedNormal> normals = FaceNormals(ramp);
    ASSERT_EQ(normals.size(), 32u);
    const double k = 1.0 / std::sqrt(1.25);
    for (int square : {0, 5, 9}) {
        for (int which = 0; which < 2; ++which) {
            const FixedNormal& normal = normals[square * 2 + which];
            EXPECT_NEAR(normal[0] / kOne, -0.5 * k, 2e-5);
            EXPECT_NEAR(normal[1] / kOne, k, 2e-5);
            EXPECT_NEAR(normal[2] / kOne, 0.0, 2e-5);
        }
    }
    // A parse of the written bytes finds the sizes it was given.
    const std::vector<uint8_t> bytes = EncodeTerrain(ramp);
    const ParsedTerrain parsed = Parse(bytes.data(), bytes.size());
    EXPECT_EQ(parsed.problem, "");
    EXPECT_EQ(parsed.n, 4u);
    EXPECT_EQ(parsed.side, 4 * 65536);
    EXPECT_EQ(parsed.heights[3], ToFixed(1.5));
    // Cut short anywhere, it no longer parses cleanly.
    for (size_t cut : {size_t{3}, size_t{9}, bytes.size() / 2, bytes.size() - 1}) {
        EXPECT_NE(Parse(bytes.data(), cut).problem, "") << cut;
    }
}

}  // namespace
