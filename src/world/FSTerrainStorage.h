#pragma once
// The ground of a route: a height field of N × N vertices covering the whole wrap-around
// world and wrapping with it (vertex N is vertex 0), read from a member of
// "data\terrains.zip". The storage holds the data of the whole field and answers height,
// slope and tile queries; CFSTerrainModel (FSTerrainModel.h) derives from it and draws a
// window of it.
//
// Terrain coordinates: a node at local (x, y, z) in cell (column, row) stands at terrain
// position (column × 60 + x + 30, y, row × 60 + z + 30), so x and z run over [0, 240)
// km. Queries wrap any terrain position into the field first, so points a little outside
// [0, side) (a grown box at the seam) are answered from the other side of the seam.
//
// A storage that is not loaded (never loaded, or its last Load failed) answers every
// height query with the height above 0 and reports nothing touching the ground; callers
// should not rely on that and treat the terrain as absent.
#include <cstdint>
#include <string>
#include <vector>

#include "world/FSFixedVector.h"
#include "world/FSSceneNode.h"
#include "world/FSTerrainFile.h"
#include "world/FSWorldPosition.h"

class CFSTextureCache;
// Where a terrain position falls in the grid: the square (column, row), the position's
// offset from the square's corner (i, j) in km and as fractions of the spacing, and which
// of the square's two triangles holds it.
struct FSGridLocation {
    int32_t column = 0;
    int32_t row = 0;
    FSFixed fx = 0;  // 16.16 in [0, 1.0)
    FSFixed fz = 0;
    FSFixed dx = 0;  // 16.16 km from the corner, in [0, spacing)
    FSFixed dz = 0;
    int triangle = 0;  // 0: the triangle with fx > fz; 1: fx ≤ fz
};

// A layer: a material drawn with one texture per distance band.
struct FSTerrainLayer {
    uint32_t identifier = 0;
    std::string name;                       // the material name of chunk 1, "" if missing
    std::vector<std::string> textureNames;  // one per band (members of textures.zip)
    std::vector<uint32_t> textures;         // GL texture names, 0 until fetched or if missing
};

// A distance band: from start to end km from the camera, with the squares kept for
// comparisons with squared distances (16.16, saturated at 0x7FFFFFFF beyond 181 km).
struct FSTerrainBand {
    FSFixed start = 0;
    FSFixed end = 0;
    FSFixed startSquared = 0;
    FSFixed endSquared = 0;
};

// Heights above ground at which the ground test reports contact (16.16 km, about 1 m),
// and the margin by which a node's swept box grows for it.
inline constexpr FSFixed kGroundContactHeight = 67;
inline constexpr FSFixed kGroundContactMargin = 66;
// Windows of more than 255 × 255 vertices cannot be indexed with 16 bits.
inline constexpr int32_t kTerrainMaxWindow = 255;
// Texture repeats across the field: the coordinates of copies beyond the seam get this
// much added so the textures run on continuously.
inline constexpr FSFixed kTerrainTextureWrap = FixedFromInt(12);
// The fine detail over the near ground (a member of the textures archive; grey, 0.5 on
// average) and how many times it repeats across a grid square (117 m on the 1.875 km
// grids, a texel about half a metre).
inline constexpr char kTerrainDetailTexture[] = "terrain/detail.png";
inline constexpr int32_t kTerrainDetailRepeats = 16;
// How far from the eye the detail is drawn (km): farther, a pixel covers more than 16 of
// its texels, and its mipmaps show it as the even grey that leaves the ground as it is.
inline constexpr float kTerrainDetailReach = 1.5f;

class CFSTerrainStorage : public MFSTileMap {
public:
    CFSTerrainStorage();
    ~CFSTerrainStorage() override;
    CFSTerrainStorage(const CFSTerrainStorage&) = delete;
    CFSTerrainStorage& operator=(const CFSTerrainStorage&) = delete;

    // Releases the previous terrain, reads the member and parses it (bands and materials
    // only when full), stores the window size (clamped, see ClampWindowSize) and extends
    // the texture coordinates for it, and builds the layer weights and the material set.
    // Textures are fetched from the storage's texture cache when a GL context is current
    // (otherwise FetchTextures does it later). False, with everything released
    // and every size 0, when the member cannot be read or is not a sound terrain file.
    bool Load(const std::string& archivePath, const std::string& memberName, int windowSize, bool full);
    // The same from a file already in memory.
    bool LoadFromMemory(const uint8_t* bytes, size_t size, int windowSize, bool full);
    // Forgets everything; the storage is then not loaded.
    void Release();
    bool IsLoaded() const { return gridSize_ > 0; }
    // Grows with every successful load, so a drawing built for earlier data can tell.
    uint32_t Generation() const { return generation_; }

    // p.y minus the ground height under (p.x, p.z) (16.16 km; negative below ground). A
    // face whose normal has no vertical component is taken as flat at its corner's height.
    FSFixed HeightAbove(const FSFixedVector& terrainPosition) const;
    FSFixed HeightAboveAt(const FSFixedVector& local, const FSCell& cell) const;
    // The face normal of the triangle under the point, as stored (unit length in 16.16).
    FSFixedVector GroundNormal(const FSFixedVector& terrainPosition) const;
    FSFixedVector GroundNormalAt(const FSFixedVector& local, const FSCell& cell) const;
    // True when any of the four bottom corners of the node's swept box, grown by 66 on
    // every side, is less than 67 (about 1 m) above the ground. A node without a model
    // (empty box) is tested at its position.
    bool TouchesGround(const MFSSceneNode& node) const;
    // The grid square and fractions of a terrain position, wrapped into the field. The
    // fractions are exact quotients by the spacing, so points on a square's diagonal have
    // fx = fz and take the second triangle.
    FSGridLocation LocateGrid(const FSFixedVector& terrainPosition) const;
    // The grid square under a local position in a cell; (−1, −1) when not loaded.
    FSTile TileOf(const FSFixedVector& local, const FSCell& cell) const override;
    int32_t GetGridSize() const { return gridSize_; }

    // The terrain position of a local position in a cell (not wrapped).
    static FSFixedVector TerrainPosition(const FSFixedVector& local, const FSCell& cell);
    // The window size actually used for a requested one: at least 2, at most 255 (16-bit
    // indices) and at most N + 1 (a window never covers the field more than once).
    static int32_t ClampWindowSize(int windowSize, int32_t gridSize);

    // Where the layers' textures come from (null: the terrain draws untextured); it must
    // outlive the storage.
    void SetTextureCache(CFSTextureCache* textures) { textures_ = textures; }
    // Fetches the layers' textures and the detail texture by name from the texture cache
    // (needs a current GL context; without a cache nothing changes). Once every texture
    // has been asked for, later calls do nothing.
    void FetchTextures();
    bool TexturesFetched() const { return texturesFetched_; }
    // The detail texture (kTerrainDetailTexture; 0 when missing). It is mipmapped and
    // filtered whatever "textures_quality" is (FSTextureFiltering::Smooth), so it fades to
    // its even grey with distance and shows no blocks up close.
    uint32_t DetailTexture() const { return detailTexture_; }

    FSFixed Side() const { return side_; }
    FSFixed Spacing() const { return spacing_; }
    uint32_t Version() const { return version_; }
    int32_t WindowSize() const { return windowSize_; }
    // The stored height of vertex (i, j), both wrapped.
    FSFixed Height(int32_t i, int32_t j) const;
    const std::vector<std::string>& MaterialNames() const { return names_; }
    const std::vector<FSTerrainLayer>& Layers() const { return layers_; }
    const std::vector<FSTerrainBand>& Bands() const { return bands_; }
    int32_t TextureSetCount() const { return textureSets_; }
    // Bands that can be drawn textured: each needs a coordinate set and a texture name
    // per layer.
    int32_t DrawableBands() const;
    // The extended coordinate set: (N + W) × (N + W) pairs, entry (a, b) at index
    // 2 × (a + (N + W) × b).
    const std::vector<FSFixed>& ExtendedTextureCoordinates(int32_t set) const { return extended_[set]; }
    int32_t ExtendedSide() const { return gridSize_ + windowSize_; }
    // Weight of layer k at vertex (i, j): 1.0 for layer 0; for k ≥ 1, 1.0 where a nibble
    // of the vertex's material byte is k + 1, else 0.
    FSFixed LayerWeight(int32_t layer, int32_t i, int32_t j) const;
    uint8_t MaterialByte(int32_t i, int32_t j) const;
    // The face normal `triangle` (0 or 1) of square (i, j), both wrapped.
    const FSFixedVector& FaceNormal(int32_t i, int32_t j, int triangle) const;

protected:
    // Stores the window size (clamped) and extends the texture coordinates for it.
    void StoreWindowSize(int windowSize);

private:
    size_t Index(int32_t i, int32_t j) const;
    FSFixed GroundHeight(const FSGridLocation& at) const;
    void ExtendTextureCoordinates();
    void BuildLayerWeights();
    void BuildMaterialSet(const FSTerrainFileData& data);

    std::vector<std::string> names_;
    int32_t gridSize_ = 0;
    std::vector<FSFixed> heights_;
    int32_t textureSets_ = 0;
    std::vector<FSFixed> textureCoordinates_;     // sets × N × N pairs, as read
    std::vector<std::vector<FSFixed>> extended_;  // per set, (N + W)² pairs
    std::vector<FSFixedVector> normals_;          // N × N × 2
    std::vector<uint8_t> materialMap_;            // N × N
    FSFixed side_ = 0;
    uint32_t version_ = 0;
    FSFixed spacing_ = 0;
    int32_t windowSize_ = 0;
    std::vector<FSFixed> layerWeights_;  // layer k ≥ 1 at (k − 1) × N × N + index
    std::vector<FSTerrainLayer> layers_;
    std::vector<FSTerrainBand> bands_;
    bool texturesFetched_ = false;
    uint32_t detailTexture_ = 0;
    CFSTextureCache* textures_ = nullptr;
    uint32_t generation_ = 0;
};
