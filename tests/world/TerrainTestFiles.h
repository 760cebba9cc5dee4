#pragma once
// Terrain files for the terrain tests: the real ones read back from data/terrains.zip and
// read here on their own (not through the game's parser), and small ones written here
// chunk by chunk, sound or broken on purpose.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "resources/FSArchive.h"

namespace terrain_test {

inline const char* const kTerrainNames[] = {"valley.ter", "coast.ter", "farmland.ter"};

inline std::string TerrainsArchive() {
    return MakeDataPath("data\\terrains.zip");
}

inline uint32_t U32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// The grid and heights of a terrain file, in km, found by walking its chunks.
struct StoredGrid {
    int n = 0;
    double side = 0;
    std::vector<double> heights;

    double Spacing() const { return side / n; }
    double Height(int i, int j) const {
        return heights[((i % n + n) % n) + static_cast<size_t>(n) * ((j % n + n) % n)];
    }
    // The ground under terrain (x, z) by the triangles of the grid: the square's corner
    // (i, j), and (i + 1, j + 1) with (i + 1, j) for fx > fz or (i, j + 1) otherwise.
    double Ground(double x, double z) const {
        const double s = Spacing();
        x = std::fmod(std::fmod(x, side) + side, side);
        z = std::fmod(std::fmod(z, side) + side, side);
        const int i = static_cast<int>(std::floor(x / s)), j = static_cast<int>(std::floor(z / s));
        const double fx = x / s - i, fz = z / s - j;
        const double h00 = Height(i, j), h10 = Height(i + 1, j), h01 = Height(i, j + 1),
                     h11 = Height(i + 1, j + 1);
        if (fx > fz) return h00 + fx * (h10 - h00) + fz * (h11 - h10);
        return h00 + fz * (h01 - h00) + fx * (h11 - h01);
    }
};

inline StoredGrid ReadStoredGrid(const std::string& member) {
    StoredGrid grid;
    const FSMemoryBlock block = ReadArchiveMember(TerrainsArchive(), member);
    if (!block) return grid;
    const uint8_t* p = block.data.get();
    std::vector<int32_t> raw;
    for (size_t at = 0; at + 8 <= block.size;) {
        const uint32_t id = U32(p + at), length = U32(p + at + 4);
        const uint8_t* payload = p + at + 8;
        if (id == 2) grid.n = static_cast<int>(U32(payload));
        if (id == 3) grid.side = static_cast<int32_t>(U32(payload)) / 65536.0;
        if (id == 0xA002) {
            for (uint32_t k = 0; k + 4 <= length; k += 4)
                raw.push_back(static_cast<int32_t>(U32(payload + k)));
        }
        at += 8 + length;
    }
    for (int32_t h : raw)
        grid.heights.push_back(h / 65536.0);
    return grid;
}

// Writes terrain files chunk by chunk.
class TerrainWriter {
public:
    void Chunk(uint32_t id, const std::vector<uint8_t>& payload) {
        ChunkWithLength(id, payload, payload.size());
    }
    // A chunk whose header claims length bytes, whatever the payload holds.
    void ChunkWithLength(uint32_t id, const std::vector<uint8_t>& payload, uint64_t length) {
        Put(bytes, id);
        Put(bytes, static_cast<uint32_t>(length));
        bytes.insert(bytes.end(), payload.begin(), payload.end());
    }
    static void Put(std::vector<uint8_t>& out, uint32_t value) {
        for (int k = 0; k < 4; ++k)
            out.push_back(static_cast<uint8_t>(value >> (8 * k)));
    }
    static std::vector<uint8_t> Word(uint32_t value) {
        std::vector<uint8_t> out;
        Put(out, value);
        return out;
    }
    static std::vector<uint8_t> Words(const std::vector<int32_t>& values) {
        std::vector<uint8_t> out;
        for (int32_t v : values)
            Put(out, static_cast<uint32_t>(v));
        return out;
    }
    static std::vector<uint8_t> Text(const std::string& text) {
        std::vector<uint8_t> out(text.begin(), text.end());
        out.push_back(0);
        return out;
    }

    std::vector<uint8_t> bytes;
};

// A small sound terrain: N × N vertices over side km, heights h(i, j) = i × 0.01 +
// j × 0.02 km with exact face normals, two layers, two bands with a coordinate set each,
// and an unknown chunk. Heights and normals come last, so that cutting the file anywhere
// loses something the terrain cannot do without.
struct SmallTerrain {
    int n = 4;
    double side = 240.0;
    bool withBands = true;
    int32_t normalY = -1;  // −1: the true normals; otherwise every normal is (0.7, normalY, 0)

    static int32_t Fixed(double v) { return static_cast<int32_t>(std::lround(v * 65536.0)); }
    double HeightKm(int i, int j) const { return ((i % n) * 0.01) + ((j % n) * 0.02); }

    std::vector<uint8_t> Heights() const {
        std::vector<int32_t> h;
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i)
                h.push_back(Fixed(HeightKm(i, j)));
        return TerrainWriter::Words(h);
    }
    std::vector<uint8_t> Normals() const {
        std::vector<int32_t> values;
        const double s = side / n;
        auto normal = [&](double gx, double gz) {
            const double l = std::sqrt(gx * gx + 1 + gz * gz);
            if (normalY >= 0) {
                values.insert(values.end(), {Fixed(0.7), normalY, 0});
            } else {
                values.insert(values.end(), {Fixed(-gx / l), Fixed(1 / l), Fixed(-gz / l)});
            }
        };
        for (int j = 0; j < n; ++j) {
            for (int i = 0; i < n; ++i) {
                const double h00 = HeightKm(i, j), h10 = HeightKm(i + 1, j), h01 = HeightKm(i, j + 1),
                             h11 = HeightKm(i + 1, j + 1);
                normal((h10 - h00) / s, (h11 - h10) / s);
                normal((h11 - h01) / s, (h01 - h00) / s);
            }
        }
        return TerrainWriter::Words(values);
    }
    std::vector<uint8_t> TextureCoordinates(int sets) const {
        std::vector<int32_t> uv;
        for (int set = 0; set < sets; ++set)
            for (int j = 0; j < n; ++j)
                for (int i = 0; i < n; ++i) {
                    uv.push_back(static_cast<int32_t>(int64_t{12} * 65536 * i / n));
                    uv.push_back(static_cast<int32_t>(int64_t{12} * 65536 * j / n));
                }
        return TerrainWriter::Words(uv);
    }
    std::vector<uint8_t> MaterialMap() const {
        std::vector<uint8_t> map(static_cast<size_t>(n) * n, 0);
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i)
                if (i >= n / 2) map[i + static_cast<size_t>(n) * j] = 2;  // layer 1
        return map;
    }
    std::vector<uint8_t> Bands() const {
        return TerrainWriter::Words({2, Fixed(0), Fixed(16), Fixed(10), Fixed(170)});
    }
    std::vector<uint8_t> Materials() const {
        std::vector<uint8_t> out = TerrainWriter::Words({2, 2});
        for (int m = 0; m < 2; ++m) {
            TerrainWriter::Put(out, static_cast<uint32_t>(m));
            for (const std::string& name :
                 {std::string("terrain/grass.png"), std::string("terrain/grass_far.png")}) {
                TerrainWriter::Put(out, static_cast<uint32_t>(name.size() + 1));
                const std::vector<uint8_t> text = TerrainWriter::Text(name);
                out.insert(out.end(), text.begin(), text.end());
            }
        }
        return out;
    }

    std::vector<uint8_t> Bytes() const {
        TerrainWriter w;
        w.Chunk(1, TerrainWriter::Text("grass"));
        w.Chunk(1, TerrainWriter::Text("rock"));
        w.Chunk(2, TerrainWriter::Word(static_cast<uint32_t>(n)));
        w.Chunk(3, TerrainWriter::Word(static_cast<uint32_t>(Fixed(side))));
        w.Chunk(4, TerrainWriter::Word(1));
        w.Chunk(0x77, {1, 2, 3});  // not a terrain chunk: skipped
        w.Chunk(0xA001, MaterialMap());
        w.Chunk(0xA003, TextureCoordinates(2));
        if (withBands) {
            w.Chunk(0xB001, Bands());
            w.Chunk(0xB002, Materials());
        }
        w.Chunk(0xA002, Heights());
        w.Chunk(0xA004, Normals());
        return w.bytes;
    }
};

}  // namespace terrain_test
