#pragma once
// The quadtree over the squares of the terrain window, for frustum culling. The root
// covers all (W − 1) × (W − 1) squares; a region is split into up to four children at
// half its width and height until it is a single square, a leaf that owns the square's
// two triangles in the window's full index list. Each node carries a bounding sphere in
// window coordinates (16.16 km) and remembers the plane that rejected it last, which is
// tested first the next time.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "world/FSFixedVector.h"

class CFSCamera;

struct FSTerrainQuadNode {
    FSFixed radius = 0;
    FSFixedVector centre;
    int32_t column = 0;  // region origin and size, in squares
    int32_t row = 0;
    int32_t width = 0;
    int32_t height = 0;
    int lastPlane = -1;  // the frustum plane that rejected the node last, −1 none
    int32_t children[4] = {-1, -1, -1, -1};
    int32_t childCount = 0;
    int32_t firstTriangle = -1;  // a leaf's first triangle: (column + row × (W − 1)) × 2
    uint32_t stamp = 0;          // the frame in which the leaf was last drawn
    int32_t firstLeaf = 0;       // the subtree's leaves: a range of the leaf order
    int32_t leafCount = 0;
};

// Nodes set aside for a window of W vertices: with S = W − 1, (4·S² − 4)/3 + 1 when S is a
// power of two (exactly the full tree), otherwise that count rounded up and given an
// eighth more. W = 17 gives 341, W = 20 gives 542.
size_t TerrainQuadtreeCapacity(int32_t windowSize);

class CFSTerrainQuadtree {
public:
    // Builds the tree for a window of windowSize vertices (at least 2) at spacing (16.16
    // km). Sphere heights are 0 until FitHeights.
    void Build(int32_t windowSize, FSFixed spacing);
    void Clear();
    // Fits every sphere to the heights of the window: positions are the W × W window
    // vertices, row by row. The centre's height is the middle of the region's height
    // range; the radius is the diagonal of the region (the generous bound the culling was
    // tuned with), or more where a steep region needs it to enclose all its vertices.
    void FitHeights(const FSFixedVector* positions);

    // Appends the triangles (numbers in the full list) of every leaf whose sphere is not
    // wholly outside the camera's terrain planes, stamping those leaves with stamp.
    // Returns the number of triangles appended.
    int Collect(const CFSCamera& camera, uint32_t stamp, std::vector<int32_t>& triangles);

    // Whether the leaf of square (column, row) carries the stamp; false outside the tree.
    bool IsStamped(int32_t column, int32_t row, uint32_t stamp) const;

    size_t NodeCount() const { return nodes_.size(); }
    size_t Capacity() const { return capacity_; }
    const std::vector<FSTerrainQuadNode>& Nodes() const { return nodes_; }

private:
    int32_t BuildNode(int32_t column, int32_t row, int32_t width, int32_t height);
    void Visit(int32_t index, int mask);
    void AppendSubtree(const FSTerrainQuadNode& node);
    void AppendLeaf(FSTerrainQuadNode& leaf);

    std::vector<FSTerrainQuadNode> nodes_;
    std::vector<int32_t> leafOrder_;     // node indices of the leaves, depth first
    std::vector<int32_t> leafOfSquare_;  // square c + r × S → its leaf
    int32_t squares_ = 0;                // S = W − 1
    int32_t windowSize_ = 0;
    FSFixed spacing_ = 0;
    size_t capacity_ = 0;
    // Set for the duration of Collect.
    const CFSCamera* camera_ = nullptr;
    uint32_t stamp_ = 0;
    std::vector<int32_t>* out_ = nullptr;
    int appended_ = 0;
};
