#include "databuild/TerrainFile.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr double kFixedOne = 65536.0;

enum ChunkId : uint32_t {
    kMaterialName = 1,
    kGridSize = 2,
    kSide = 3,
    kVersion = 4,
    kMaterialMap = 0xA001,
    kHeights = 0xA002,
    kTextureCoordinates = 0xA003,
    kFaceNormals = 0xA004,
    kBands = 0xB001,
    kMaterials = 0xB002,
};

// The layer nibbles 2..5 can name four layers over the base.
constexpr size_t kMaxLayers = 5;

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int k = 0; k < 4; ++k)
        out.push_back(static_cast<uint8_t>(v >> (8 * k)));
}

void PutFixed(std::vector<uint8_t>& out, int32_t v) {
    Put32(out, static_cast<uint32_t>(v));
}

// Appends a chunk: its payload is whatever fill appends.
template <typename Fill>
void Chunk(std::vector<uint8_t>& out, uint32_t id, Fill fill) {
    Put32(out, id);
    const size_t lengthAt = out.size();
    Put32(out, 0);
    const size_t start = out.size();
    fill(out);
    const uint32_t length = static_cast<uint32_t>(out.size() - start);
    for (int k = 0; k < 4; ++k)
        out[lengthAt + k] = static_cast<uint8_t>(length >> (8 * k));
}

void PutName(std::vector<uint8_t>& out, const std::string& name) {
    out.insert(out.end(), name.begin(), name.end());
    out.push_back(0);
}

// Unit normal of the plane y = h0 + gx * x + gz * z, in 16.16.
FixedNormal NormalOfSlopes(double gx, double gz) {
    const double length = std::sqrt(gx * gx + 1.0 + gz * gz);
    return {ToFixed(-gx / length), ToFixed(1.0 / length), ToFixed(-gz / length)};
}

}  // namespace

int32_t TerrainFile::Height(int i, int j) const {
    const int wi = ((i % size) + size) % size, wj = ((j % size) + size) % size;
    return heights[static_cast<size_t>(wi) + static_cast<size_t>(size) * wj];
}

int32_t ToFixed(double value) {
    return static_cast<int32_t>(std::lround(value * kFixedOne));
}

int32_t FixedSpacing(const TerrainFile& terrain) {
    return terrain.size > 0 ? ToFixed(terrain.side) / terrain.size : 0;
}

std::vector<FixedNormal> FaceNormals(const TerrainFile& terrain) {
    const int n = terrain.size;
    const double spacing = FixedSpacing(terrain) / kFixedOne;
    std::vector<FixedNormal> normals;
    normals.reserve(static_cast<size_t>(n) * n * 2);
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            const double h00 = terrain.Height(i, j) / kFixedOne;
            const double h10 = terrain.Height(i + 1, j) / kFixedOne;
            const double h01 = terrain.Height(i, j + 1) / kFixedOne;
            const double h11 = terrain.Height(i + 1, j + 1) / kFixedOne;
            // fx > fz: (i, j) -> (i+1, j) along x, then (i+1, j) -> (i+1, j+1) along z.
            normals.push_back(NormalOfSlopes((h10 - h00) / spacing, (h11 - h10) / spacing));
            // fx <= fz: (i, j) -> (i, j+1) along z, then (i, j+1) -> (i+1, j+1) along x.
            normals.push_back(NormalOfSlopes((h11 - h01) / spacing, (h01 - h00) / spacing));
        }
    }
    return normals;
}

std::vector<uint8_t> EncodeTerrain(const TerrainFile& terrain) {
    const int n = terrain.size;
    const size_t cells = static_cast<size_t>(n) * n;
    const size_t bandCount = terrain.bands.size();
    if (n < 2 || terrain.heights.size() != cells || terrain.materials.size() != cells || bandCount == 0 ||
        terrain.layers.empty() || terrain.layers.size() > kMaxLayers) {
        std::fprintf(stderr, "terrain: inconsistent grid, bands or layers\n");
        return {};
    }
    for (const TerrainMaterial& material : terrain.layers) {
        if (material.textures.size() != bandCount) {
            std::fprintf(stderr, "terrain: material %s needs one texture per band\n", material.name.c_str());
            return {};
        }
    }

    std::vector<uint8_t> out;
    for (const TerrainMaterial& material : terrain.layers)
        Chunk(out, kMaterialName, [&](std::vector<uint8_t>& o) { PutName(o, material.name); });
    Chunk(out, kGridSize, [&](std::vector<uint8_t>& o) { Put32(o, static_cast<uint32_t>(n)); });
    Chunk(out, kSide, [&](std::vector<uint8_t>& o) { PutFixed(o, ToFixed(terrain.side)); });
    Chunk(out, kVersion, [&](std::vector<uint8_t>& o) { Put32(o, kTerrainFileVersion); });
    Chunk(out, kMaterialMap, [&](std::vector<uint8_t>& o) {
        o.insert(o.end(), terrain.materials.begin(), terrain.materials.end());
    });
    Chunk(out, kHeights, [&](std::vector<uint8_t>& o) {
        for (int32_t h : terrain.heights)
            PutFixed(o, h);
    });
    Chunk(out, kTextureCoordinates, [&](std::vector<uint8_t>& o) {
        // u = 12 * i / N in 16.16; exact when N divides 12 * 65536 (N = 128 does).
        const int64_t span = static_cast<int64_t>(kTextureRepeats) * 65536;
        for (size_t band = 0; band < bandCount; ++band) {
            for (int j = 0; j < n; ++j) {
                for (int i = 0; i < n; ++i) {
                    PutFixed(o, static_cast<int32_t>(span * i / n));
                    PutFixed(o, static_cast<int32_t>(span * j / n));
                }
            }
        }
    });
    Chunk(out, kFaceNormals, [&](std::vector<uint8_t>& o) {
        for (const FixedNormal& normal : FaceNormals(terrain)) {
            for (int32_t c : normal)
                PutFixed(o, c);
        }
    });
    Chunk(out, kBands, [&](std::vector<uint8_t>& o) {
        Put32(o, static_cast<uint32_t>(bandCount));
        for (const TerrainBand& band : terrain.bands) {
            PutFixed(o, ToFixed(band.start));
            PutFixed(o, ToFixed(band.end));
        }
    });
    Chunk(out, kMaterials, [&](std::vector<uint8_t>& o) {
        Put32(o, static_cast<uint32_t>(terrain.layers.size()));
        Put32(o, static_cast<uint32_t>(bandCount));
        for (const TerrainMaterial& material : terrain.layers) {
            Put32(o, material.identifier);
            for (const std::string& texture : material.textures) {
                Put32(o, static_cast<uint32_t>(texture.size() + 1));
                PutName(o, texture);
            }
        }
    });
    return out;
}
