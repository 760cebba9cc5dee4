#pragma once
// The drawn terrain: a square window of W × W vertices of the field, centred under the
// camera and rebuilt whenever the camera crosses a grid vertex, culled square by square
// through a quadtree, and drawn with one texture per layer and distance band.
//
// Window coordinates: window vertex (a, b) stands at (a × spacing, height, b × spacing);
// it is grid vertex (origin column + a, origin row + b), wrapped. The camera's own grid
// vertex sits at window vertex ((W − 1) / 2, (W − 1) / 2), and the drawing offset is the
// eye's position in window coordinates, so the terrain transform (the camera's rotation
// after a translation by minus the offset) draws every vertex relative to the eye.
//
// The textured drawing is fogged, and the fog is held to end before the window does (the
// camera's GroundFogLimit), so the ground never ends in a hard edge against the sky.
//
// Triangles: square (c, r) of the window is k = c + r × W with the triangles
// (k, k + W + 1, k + 1) (the one with fx > fz) and (k, k + W, k + W + 1), numbered
// 2 × (c + r × (W − 1)) and that + 1, squares row by row.
//
// Detail: on the triangles with a corner within kTerrainDetailReach of the eye the detail
// texture (FSTerrainStorage.h) is modulated onto the ground through the second texture
// unit, kTerrainDetailRepeats times across every square; its mipmaps have faded it to its
// even grey before that reach, so the triangles beyond are drawn without it.
//
// Layers: every triangle is drawn opaque with the lowest of its corners' top layers (the
// highest layer a corner belongs to wholly), so each layer shows where all three corners
// carry it. With "terrein_quality" 2 or more, each higher layer present at a corner is
// blended over the triangle with the corners' weights as alpha, which softens the
// borders. Bands: a triangle takes the nearest band of its corners; where the next band
// fades in at a corner, that band's texture is blended over it with the fade weight.
#include <cstdint>
#include <string>
#include <vector>

#include "world/FSTerrainQuadtree.h"
#include "world/FSTerrainStorage.h"

class CFSCamera;

// What the drawing takes from the settings and the terrain holder.
struct FSTerrainDrawOptions {
    bool paused = false;       // the map view: untextured, and the grid lines if asked
    bool gridOverlay = false;  // white grid lines over the paused drawing
    int terrainQuality = 0;    // "terrein_quality": 2 or more blends the layer borders
    int texturesQuality = 0;   // "textures_quality"
    int alignment = 2;         // "screengame_align", as the camera's LookAt used it
    // The light of the time of day on the textured ground (16.16 red, green, blue): white
    // draws the textures as they are; evening and night darken them.
    FSFixed tint[3] = {kFixedOne, kFixedOne, kFixedOne};
};

// Grid lines of the paused drawing stand on every this-many'th grid column and row
// (1/16 of the field: every 15 km on the 128-vertex terrains, so cell borders get one).
inline constexpr int32_t kTerrainGridLineParts = 16;

class CFSTerrainModel : public CFSTerrainStorage {
public:
    CFSTerrainModel();
    ~CFSTerrainModel() override;

    // CFSTerrainStorage::Load, then the window arrays, the base vertex grid, the full index
    // list, the per-layer data and the quadtree, built around grid vertex (0, 0) until the
    // first Prepare. False, with everything released, like the storage's Load.
    bool Load(const std::string& archivePath, const std::string& memberName, int windowSize, bool full);
    bool LoadFromMemory(const uint8_t* bytes, size_t size, int windowSize, bool full);
    // The same rebuild for another window size, without reading the file (clamped like
    // ClampWindowSize); nothing when not loaded.
    void SetWindowSize(int windowSize);

    // Before the scene's nodes are drawn: locate the eye (local position in its cell),
    // rebuild the window when the eye's grid vertex changed (always when force is set: the
    // paused view orbits) and set the drawing offset.
    void Prepare(const FSFixedVector& eye, const FSCell& cell, bool force);
    // Draws the window for the camera (see FSTerrainDraw.cpp); the model-view matrix is
    // pushed and popped and every GL state it changes is put back. Extracts the camera's
    // terrain planes. Returns the number of triangles found visible.
    int Draw(CFSCamera& camera, const FSTerrainDrawOptions& options);
    // Whether the last drawing drew the grid square (a TileOf result); never for a square
    // outside the window or outside the field.
    bool IsTileVisible(const FSTile& tile) const;

    // The least horizontal distance (km) from the eye to the window's edge, wherever the
    // eye stands in its grid square: the ground reaches at least this far all round.
    float GroundReach() const;

    // The window as built.
    int32_t OriginColumn() const { return originColumn_; }
    int32_t OriginRow() const { return originRow_; }
    const FSFixedVector& DrawingOffset() const { return offset_; }
    const std::vector<FSFixedVector>& Positions() const { return positions_; }
    const std::vector<uint16_t>& FullIndices() const { return fullIndices_; }
    const std::vector<int32_t>& VisibleTriangles() const { return visible_; }
    const CFSTerrainQuadtree& Quadtree() const { return quadtree_; }
    // The texture coordinates of band set s for the window, W × W pairs.
    const std::vector<FSFixed>& WindowTextureCoordinates(int32_t set) const { return texcoords_[set]; }

private:
    // Per band and layer, the index lists of one frame.
    struct PassLists {
        std::vector<uint16_t> detailed;  // opaque, within the detail's reach
        std::vector<uint16_t> opaque;
        std::vector<uint16_t> blend;
        std::vector<uint16_t> fade;
    };

    void ReleaseWindow();
    // Everything that depends on the window size only.
    void BuildWindowStructure();
    void EnsureBuilt();
    void RebuildWindow(int32_t vertexColumn, int32_t vertexRow);
    void CopyPiece(int32_t a0, int32_t b0, int32_t width, int32_t height, int32_t column, int32_t row);
    void ClassifyTriangles();
    void ShadeVertex(size_t vertex, int32_t column, int32_t row);

    // FSTerrainDraw.cpp
    void SortVisibleTriangles(int bands, int layers, bool blendLayers);
    FSFixed BandWeight(int band, size_t vertex) const;
    void DrawTextured(const FSTerrainDrawOptions& options, int bands);
    void DrawUntextured(bool gridLines);
    void DrawGridLines();
    void FillPassColours(int band, int layer, bool forBand, const FSFixed tint[3]);

    uint32_t builtGeneration_ = 0;
    int32_t builtWindow_ = 0;
    int32_t originColumn_ = 0;
    int32_t originRow_ = 0;
    int32_t vertexColumn_ = -1;  // the eye's grid vertex at the last rebuild
    int32_t vertexRow_ = -1;
    std::vector<FSFixedVector> positions_;         // W × W
    std::vector<FSFixed> shadeColours_;            // W × W × 4: the untextured colours
    std::vector<FSFixed> passColours_;             // W × W × 4: white with a pass's alpha
    std::vector<std::vector<FSFixed>> texcoords_;  // per set, W × W × 2
    std::vector<FSFixed> detailCoords_;            // W × W × 2: the detail's, fixed to the grid
    std::vector<FSFixed> layerWeights_;            // layers × W × W
    std::vector<uint8_t> vertexFlags_;             // W × W: the band of each vertex this frame
    std::vector<int64_t> distanceSquared_;         // W × W: raw 32.32 squared eye distances
    std::vector<uint16_t> fullIndices_;
    std::vector<int32_t> visible_;        // triangle numbers, rebuilt each frame
    std::vector<uint8_t> triangleLayer_;  // per triangle: the layer of its opaque drawing
    std::vector<uint8_t> triangleBlend_;  // per triangle: the mask of layers blended over it
    std::vector<PassLists> passes_;       // band × layers + layer
    std::vector<uint16_t> untexturedIndices_;
    std::vector<FSFixedVector> gridLines_;
    CFSTerrainQuadtree quadtree_;
    uint32_t frameStamp_ = 1;
    FSFixedVector offset_;
};
