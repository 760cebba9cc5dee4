#include "databuild/TerrainFile.h"

#include <cmath>
#include <cstdio>

#include "common/ImageFiles.h"
#include "world/FSTerrainFile.h"

namespace {

constexpr double kFixedScale = 65536.0;  // 16.16 as a double

void PutFixed(std::vector<uint8_t>& out, int32_t v) {
    Put32(out, static_cast<uint32_t>(v));
}

// Appends a chunk: its payload is whatever fill appends.
template <typename Fill>
void Chunk(std::vector<uint8_t>& out, uint32_t id, Fill fill) {
    std::vector<uint8_t> payload;
    fill(payload);
    Put32(out, id);
    Put32(out, static_cast<uint32_t>(payload.size()));
    out.insert(out.end(), payload.begin(), payload.end());
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
    return static_cast<int32_t>(std::lround(value * kFixedScale));
}

int32_t FixedSpacing(const TerrainFile& terrain) {
    return terrain.size > 0 ? ToFixed(terrain.side) / terrain.size : 0;
}

std::vector<FixedNormal> FaceNormals(const TerrainFile& terrain) {
    const int n = terrain.size;
    const double spacing = FixedSpacing(terrain) / kFixedScale;
    std::vector<FixedNormal> normals;
    normals.reserve(static_cast<size_t>(n) * n * 2);
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            const double h00 = terrain.Height(i, j) / kFixedScale;
            const double h10 = terrain.Height(i + 1, j) / kFixedScale;
            const double h01 = terrain.Height(i, j + 1) / kFixedScale;
            const double h11 = terrain.Height(i + 1, j + 1) / kFixedScale;
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
        terrain.layers.empty() || terrain.layers.size() > static_cast<size_t>(kTerrainMaxLayers)) {
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
        Chunk(out, kTerrainChunkMaterialName, [&](std::vector<uint8_t>& o) { PutName(o, material.name); });
    Chunk(out, kTerrainChunkGridSize, [&](std::vector<uint8_t>& o) { Put32(o, static_cast<uint32_t>(n)); });
    Chunk(out, kTerrainChunkSide, [&](std::vector<uint8_t>& o) { PutFixed(o, ToFixed(terrain.side)); });
    Chunk(out, kTerrainChunkVersion, [&](std::vector<uint8_t>& o) { Put32(o, kTerrainFileVersion); });
    Chunk(out, kTerrainChunkMaterialMap, [&](std::vector<uint8_t>& o) {
        o.insert(o.end(), terrain.materials.begin(), terrain.materials.end());
    });
    Chunk(out, kTerrainChunkHeights, [&](std::vector<uint8_t>& o) {
        for (int32_t h : terrain.heights)
            PutFixed(o, h);
    });
    Chunk(out, kTerrainChunkTextureCoordinates, [&](std::vector<uint8_t>& o) {
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
    Chunk(out, kTerrainChunkFaceNormals, [&](std::vector<uint8_t>& o) {
        for (const FixedNormal& normal : FaceNormals(terrain)) {
            for (int32_t c : normal)
                PutFixed(o, c);
        }
    });
    Chunk(out, kTerrainChunkBands, [&](std::vector<uint8_t>& o) {
        Put32(o, static_cast<uint32_t>(bandCount));
        for (const TerrainBand& band : terrain.bands) {
            PutFixed(o, ToFixed(band.start));
            PutFixed(o, ToFixed(band.end));
        }
    });
    Chunk(out, kTerrainChunkMaterials, [&](std::vector<uint8_t>& o) {
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
