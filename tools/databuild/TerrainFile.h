#pragma once
// The game's terrain file: a sequence of chunks (identifier u32, payload length u32,
// payload), all integers little-endian, every coordinate 16.16 fixed point.
//
//   1       a material name, zero-terminated (one chunk per material, in layer order)
//   2       grid size N (u32)
//   3       side length of the whole field (16.16)
//   4       kTerrainFileVersion
//   0xA001  material map, N x N bytes: each nibble 2..5 puts the vertex into layer 1..4
//   0xA002  heights, N x N 16.16, index i + N * j (i along x, j along z)
//   0xA003  texture coordinates (u, v), one set of N x N pairs per distance band
//   0xA004  two face normals per grid square (i, j): first the triangle with fx > fz
//           (corners (i, j), (i+1, j), (i+1, j+1)), then the one with fx <= fz
//           (corners (i, j), (i, j+1), (i+1, j+1)); vertex N is vertex 0
//   0xB001  distance bands: count K, then start and end distance of each
//   0xB002  materials: count M, names per material K, then per material its identifier
//           and K texture names (length u32 counting the terminator, then the name)
#include <array>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr uint32_t kTerrainFileVersion = 1;
// Texture repeats across the whole field in u and in v. The game copies the coordinates
// for the vertices beyond the seam with 12.0 added, so the sets must run from 0 at vertex 0
// to exactly 12.0 at vertex N (the wrapped vertex 0) for the textures to join.
inline constexpr int kTextureRepeats = 12;

struct TerrainMaterial {
    std::string name;                   // chunk 1, e.g. "grass"
    uint32_t identifier = 0;            // the layer number: 0 base, 1..4 the layers over it
    std::vector<std::string> textures;  // members of textures.zip, one per distance band
};

struct TerrainBand {
    double start = 0;  // km from the camera where the band starts fading in
    double end = 0;    // km from the camera where the band ends
};

struct TerrainFile {
    int size = 0;                         // N, vertices per side
    double side = 240.0;                  // km; the field covers the whole wrap-around world
    std::vector<int32_t> heights;         // 16.16 km, index i + N * j
    std::vector<uint8_t> materials;       // material map, index i + N * j
    std::vector<TerrainMaterial> layers;  // layer 0 first
    std::vector<TerrainBand> bands;

    int32_t Height(int i, int j) const;  // wraps i and j
};

using FixedNormal = std::array<int32_t, 3>;

int32_t ToFixed(double value);
// Grid spacing in 16.16 as the game computes it: side / N.
int32_t FixedSpacing(const TerrainFile& terrain);
// The two face normals of every square, unit length in 16.16, pointing up, computed from
// the 16.16 heights exactly as they are stored.
std::vector<FixedNormal> FaceNormals(const TerrainFile& terrain);
// The file bytes; empty when the record is inconsistent (array sizes, layer count above 5,
// a material without one texture per band).
std::vector<uint8_t> EncodeTerrain(const TerrainFile& terrain);
