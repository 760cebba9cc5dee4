#pragma once
// The terrain file: one member of "data\terrains.zip", a sequence of chunks, each an
// identifier (u32), a payload length L (u32) and L bytes of payload, all little-endian,
// read to the end of the member. Unknown identifiers are skipped by their length.
//
//   1       a material name, zero-terminated, appended to the list
//   2       grid size N (u32): vertices per side
//   3       side length of the whole field (16.16 km)
//   4       a value kept with the data (the file's version)
//   0xA001  material map, N × N bytes; each nibble 2..5 puts the vertex into layer 1..4
//   0xA002  heights, N × N 16.16 km, index i + N × j (i along x, j along z)
//   0xA003  texture coordinates (u, v), one set of N × N 16.16 pairs per distance band
//   0xA004  two face normals (three 16.16 values each) per grid square (i, j): first the
//           triangle with fx > fz, then the one with fx ≤ fz
//   0xB001  distance bands: count K, then K pairs start, end (16.16 km)
//   0xB002  materials: count M, names per material K, then M records of an identifier
//           and K names, each a length (u32) and that many bytes holding a
//           zero-terminated texture name
//
// The parser trusts nothing: a chunk header or payload running past the end, a grid of
// fewer than 2 or more than kTerrainMaxGrid vertices per side, arrays whose size is not
// what N demands, records running past their payload, names without a terminator, and a
// file without grid size, side, heights or normals are all refused.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "world/FSFixedVector.h"

enum FSTerrainChunk : uint32_t {
    kTerrainChunkMaterialName = 1,
    kTerrainChunkGridSize = 2,
    kTerrainChunkSide = 3,
    kTerrainChunkVersion = 4,
    kTerrainChunkMaterialMap = 0xA001,
    kTerrainChunkHeights = 0xA002,
    kTerrainChunkTextureCoordinates = 0xA003,
    kTerrainChunkFaceNormals = 0xA004,
    kTerrainChunkBands = 0xB001,
    kTerrainChunkMaterials = 0xB002,
};

// The largest grid accepted: 4096² vertices already make a 400 MB normal chunk.
inline constexpr int32_t kTerrainMaxGrid = 4096;
// The base layer and the four layers the material nibbles 2..5 can name.
inline constexpr int32_t kTerrainMaxLayers = 5;
// Distance bands (and texture-coordinate sets) a terrain may carry.
inline constexpr int32_t kTerrainMaxBands = 8;
// The largest side accepted (16.16 km): window coordinates of up to twice the side must
// stay inside the 16.16 range.
inline constexpr FSFixed kTerrainMaxSide = FixedFromInt(4096);

struct FSTerrainFileBand {
    FSFixed start = 0;  // km from the camera (16.16)
    FSFixed end = 0;
};

struct FSTerrainFileMaterial {
    uint32_t identifier = 0;
    std::vector<std::string> textureNames;  // one per distance band
};

struct FSTerrainFileData {
    std::vector<std::string> names;                // chunk 1, in file order
    int32_t gridSize = 0;                          // N
    FSFixed side = 0;                              // 16.16 km
    uint32_t version = 0;                          // chunk 4
    std::vector<uint8_t> materialMap;              // N × N; all 0 when the file has none
    std::vector<FSFixed> heights;                  // N × N
    int32_t textureSets = 0;                       // sets in textureCoordinates
    std::vector<FSFixed> textureCoordinates;       // sets × N × N × (u, v)
    std::vector<FSFixedVector> normals;            // N × N × 2
    std::vector<FSTerrainFileBand> bands;          // only when read in full
    int32_t namesPerMaterial = 0;                  // K of chunk 0xB002
    std::vector<FSTerrainFileMaterial> materials;  // only when read in full
};

// Parses a whole terrain file. full: read the bands and materials too (the drawing needs
// them; height queries do not). False, with data left unspecified, on any of the faults
// listed at the top of this file.
bool ParseTerrainFile(const uint8_t* bytes, size_t size, bool full, FSTerrainFileData& data);
