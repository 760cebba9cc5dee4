#include "world/FSTerrainQuadtree.h"

#include <algorithm>

#include "world/FSCamera.h"

namespace {

constexpr int kAllPlanes = (1 << kFrustumPlanes) - 1;

bool IsPowerOfTwo(int64_t value) {
    return value > 0 && (value & (value - 1)) == 0;
}

FSFixed SaturateUnsigned(uint64_t value) {
    return static_cast<FSFixed>(std::min<uint64_t>(value, static_cast<uint64_t>(kFixedMax)));
}

}  // namespace

size_t TerrainQuadtreeCapacity(int32_t windowSize) {
    const int64_t s = static_cast<int64_t>(windowSize) - 1;
    if (s < 1) return 0;
    const int64_t numerator = 4 * s * s - 4;
    if (IsPowerOfTwo(s)) return static_cast<size_t>(numerator / 3 + 1);
    // ceil(ceil(numerator / 3 + 1) × 1.125), in integers.
    const int64_t nodes = (numerator + 2) / 3 + 1;
    return static_cast<size_t>((nodes * 9 + 7) / 8);
}

void CFSTerrainQuadtree::Clear() {
    nodes_.clear();
    leafOrder_.clear();
    leafOfSquare_.clear();
    squares_ = windowSize_ = 0;
    spacing_ = 0;
    capacity_ = 0;
}

void CFSTerrainQuadtree::Build(int32_t windowSize, FSFixed spacing) {
    Clear();
    if (windowSize < 2) return;
    windowSize_ = windowSize;
    squares_ = windowSize - 1;
    spacing_ = spacing;
    capacity_ = TerrainQuadtreeCapacity(windowSize);
    nodes_.reserve(capacity_);
    leafOfSquare_.assign(static_cast<size_t>(squares_) * squares_, -1);
    BuildNode(0, 0, squares_, squares_);
}

int32_t CFSTerrainQuadtree::BuildNode(int32_t column, int32_t row, int32_t width, int32_t height) {
    const int32_t index = static_cast<int32_t>(nodes_.size());
    nodes_.emplace_back();
    {
        FSTerrainQuadNode& node = nodes_.back();
        node.column = column;
        node.row = row;
        node.width = width;
        node.height = height;
        // Centre in window coordinates; (column + width / 2) × spacing in 64 bits.
        node.centre.x = static_cast<FSFixed>((static_cast<int64_t>(2 * column + width) * spacing_) / 2);
        node.centre.z = static_cast<FSFixed>((static_cast<int64_t>(2 * row + height) * spacing_) / 2);
        const uint64_t squares =
            static_cast<uint64_t>(width) * width + static_cast<uint64_t>(height) * height;
        const FSFixed diagonal = FixedSqrtWide(squares << 32);
        node.radius =
            SaturateUnsigned((static_cast<uint64_t>(diagonal) * static_cast<uint64_t>(spacing_)) >> 16);
        node.firstLeaf = static_cast<int32_t>(leafOrder_.size());
    }
    if (width < 2 && height < 2) {
        FSTerrainQuadNode& leaf = nodes_[index];
        leaf.firstTriangle = (column + row * squares_) * 2;
        leaf.leafCount = 1;
        leafOrder_.push_back(index);
        leafOfSquare_[static_cast<size_t>(column) + static_cast<size_t>(row) * squares_] = index;
        return index;
    }
    const int32_t w = width / 2, h = height / 2;
    const int32_t regions[4][4] = {{column, row, w, h},
                                   {column + w, row, width - w, h},
                                   {column, row + h, w, height - h},
                                   {column + w, row + h, width - w, height - h}};
    for (const auto& r : regions) {
        if (r[2] <= 0 || r[3] <= 0) continue;
        // nodes_ may move while the child is built: index, never hold a reference across.
        const int32_t child = BuildNode(r[0], r[1], r[2], r[3]);
        FSTerrainQuadNode& node = nodes_[index];
        node.children[node.childCount++] = child;
    }
    FSTerrainQuadNode& node = nodes_[index];
    node.leafCount = static_cast<int32_t>(leafOrder_.size()) - node.firstLeaf;
    return index;
}

void CFSTerrainQuadtree::FitHeights(const FSFixedVector* positions) {
    if (nodes_.empty()) return;
    std::vector<FSFixed> low(nodes_.size()), high(nodes_.size());
    // Children come after their parent, so a backward pass meets them first.
    for (size_t k = nodes_.size(); k-- > 0;) {
        FSTerrainQuadNode& node = nodes_[k];
        FSFixed lo = kFixedMax, hi = kFixedMin;
        if (node.childCount == 0) {
            for (int32_t b = node.row; b <= node.row + node.height; ++b) {
                for (int32_t a = node.column; a <= node.column + node.width; ++a) {
                    const FSFixed y =
                        positions[static_cast<size_t>(a) + static_cast<size_t>(b) * windowSize_].y;
                    lo = std::min(lo, y);
                    hi = std::max(hi, y);
                }
            }
        } else {
            for (int32_t c = 0; c < node.childCount; ++c) {
                lo = std::min(lo, low[node.children[c]]);
                hi = std::max(hi, high[node.children[c]]);
            }
        }
        low[k] = lo;
        high[k] = hi;
        node.centre.y = static_cast<FSFixed>((static_cast<int64_t>(lo) + hi) / 2);
        // The region's diagonal box: half extents w·s/2, h·s/2 and half the height range.
        const uint64_t hx = (static_cast<uint64_t>(node.width) * static_cast<uint64_t>(spacing_)) / 2;
        const uint64_t hz = (static_cast<uint64_t>(node.height) * static_cast<uint64_t>(spacing_)) / 2;
        const uint64_t hy = static_cast<uint64_t>(static_cast<int64_t>(hi) - lo) / 2 + 1;
        const FSFixed enclosing = FixedSqrtWide(hx * hx + hz * hz + hy * hy);
        const uint64_t squares =
            static_cast<uint64_t>(node.width) * node.width + static_cast<uint64_t>(node.height) * node.height;
        const FSFixed diagonal = SaturateUnsigned(
            (static_cast<uint64_t>(FixedSqrtWide(squares << 32)) * static_cast<uint64_t>(spacing_)) >> 16);
        node.radius = std::max(diagonal, enclosing);
    }
}

int CFSTerrainQuadtree::Collect(const CFSCamera& camera, uint32_t stamp, std::vector<int32_t>& triangles) {
    if (nodes_.empty()) return 0;
    camera_ = &camera;
    stamp_ = stamp;
    out_ = &triangles;
    appended_ = 0;
    Visit(0, kAllPlanes);
    camera_ = nullptr;
    out_ = nullptr;
    return appended_;
}

void CFSTerrainQuadtree::Visit(int32_t index, int mask) {
    FSTerrainQuadNode& node = nodes_[index];
    const int straddled = camera_->TestSphere(node.centre, node.radius, mask, node.lastPlane);
    if (straddled == kSphereOutside) return;
    if (straddled == 0) {
        AppendSubtree(node);
        return;
    }
    if (node.childCount == 0) {
        AppendLeaf(node);
        return;
    }
    // Copied: the recursion must not hold a reference into nodes_ (it never grows here,
    // but the copy is four integers).
    const int32_t count = node.childCount;
    const int32_t children[4] = {node.children[0], node.children[1], node.children[2], node.children[3]};
    for (int32_t c = 0; c < count; ++c)
        Visit(children[c], straddled);
}

void CFSTerrainQuadtree::AppendSubtree(const FSTerrainQuadNode& node) {
    // Every leaf drawn is stamped, also those of a subtree wholly inside the view: a node
    // culled by terrain tile stands on one of them.
    for (int32_t k = node.firstLeaf; k < node.firstLeaf + node.leafCount; ++k)
        AppendLeaf(nodes_[leafOrder_[k]]);
}

void CFSTerrainQuadtree::AppendLeaf(FSTerrainQuadNode& leaf) {
    out_->push_back(leaf.firstTriangle);
    out_->push_back(leaf.firstTriangle + 1);
    leaf.stamp = stamp_;
    appended_ += 2;
}

bool CFSTerrainQuadtree::IsStamped(int32_t column, int32_t row, uint32_t stamp) const {
    if (column < 0 || row < 0 || column >= squares_ || row >= squares_) return false;
    const int32_t leaf = leafOfSquare_[static_cast<size_t>(column) + static_cast<size_t>(row) * squares_];
    return leaf >= 0 && nodes_[leaf].stamp == stamp;
}
