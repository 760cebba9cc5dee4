#pragma once
// The real terrain files of data/terrains.zip, read here on their own (not through the
// game's parser) for the terrain tests to check the game's answers against.
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
    for (size_t at = 0; at + 8 <= block.size;) {
        const uint32_t id = U32(p + at), length = U32(p + at + 4);
        const uint8_t* payload = p + at + 8;
        if (id == 2) grid.n = static_cast<int>(U32(payload));
        if (id == 3) grid.side = static_cast<int32_t>(U32(payload)) / 65536.0;
        for (uint32_t k = 0; id == 0xA002 && k + 4 <= length; k += 4)
            grid.heights.push_back(static_cast<int32_t>(U32(payload + k)) / 65536.0);
        at += 8 + length;
    }
    return grid;
}

}  // namespace terrain_test
