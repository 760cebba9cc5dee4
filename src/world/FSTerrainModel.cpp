#include "world/FSTerrainModel.h"

#include <algorithm>
#include <cmath>

namespace {

// Colours of the untextured (map) drawing by ground height: water blue at sea level,
// then green lowland, brown upland and white peaks, lit by a fixed sun from the south-west.
struct Shade {
    float r, g, b;
};

Shade GroundColour(float heightKm) {
    if (heightKm <= 0.005f) return {0.20f, 0.36f, 0.66f};
    const Shade low{0.30f, 0.55f, 0.22f}, middle{0.55f, 0.46f, 0.30f}, high{0.95f, 0.95f, 0.97f};
    auto mix = [](const Shade& a, const Shade& b, float t) {
        return Shade{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
    };
    if (heightKm < 1.5f) return mix(low, middle, heightKm / 1.5f);
    return mix(middle, high, std::min(1.0f, (heightKm - 1.5f) / 1.1f));
}

}  // namespace

CFSTerrainModel::CFSTerrainModel() = default;
CFSTerrainModel::~CFSTerrainModel() = default;

bool CFSTerrainModel::Load(const std::string& archivePath, const std::string& memberName, int windowSize,
                           bool full) {
    ReleaseWindow();
    if (!CFSTerrainStorage::Load(archivePath, memberName, windowSize, full)) return false;
    EnsureBuilt();
    return true;
}

bool CFSTerrainModel::LoadFromMemory(const uint8_t* bytes, size_t size, int windowSize, bool full) {
    ReleaseWindow();
    if (!CFSTerrainStorage::LoadFromMemory(bytes, size, windowSize, full)) return false;
    EnsureBuilt();
    return true;
}

void CFSTerrainModel::SetWindowSize(int windowSize) {
    if (!IsLoaded()) return;
    const int32_t column = vertexColumn_ >= 0 ? vertexColumn_ : 0;
    const int32_t row = vertexRow_ >= 0 ? vertexRow_ : 0;
    StoreWindowSize(windowSize);
    BuildWindowStructure();
    RebuildWindow(column, row);
}

void CFSTerrainModel::ReleaseWindow() {
    builtGeneration_ = 0;
    builtWindow_ = 0;
    originColumn_ = originRow_ = 0;
    vertexColumn_ = vertexRow_ = -1;
    positions_.clear();
    shadeColours_.clear();
    passColours_.clear();
    texcoords_.clear();
    detailCoords_.clear();
    layerWeights_.clear();
    vertexFlags_.clear();
    distanceSquared_.clear();
    fullIndices_.clear();
    visible_.clear();
    triangleLayer_.clear();
    triangleBlend_.clear();
    passes_.clear();
    untexturedIndices_.clear();
    gridLines_.clear();
    quadtree_.Clear();
    offset_ = FSFixedVector{};
}

void CFSTerrainModel::EnsureBuilt() {
    // A storage loaded or resized behind the model's back gets its window built here.
    if (!IsLoaded()) {
        if (builtGeneration_ != 0) ReleaseWindow();
        return;
    }
    if (builtGeneration_ == Generation() && builtWindow_ == WindowSize()) return;
    BuildWindowStructure();
    RebuildWindow(0, 0);
}

void CFSTerrainModel::BuildWindowStructure() {
    const int32_t w = WindowSize();
    const size_t vertices = static_cast<size_t>(w) * w;
    const FSFixed spacing = Spacing();
    const int32_t layers = std::max<int32_t>(1, static_cast<int32_t>(Layers().size()));

    // The base vertex grid: x and z never change, y is filled by each rebuild. The detail
    // repeats a whole number of times per square, so coordinates counted from the window's
    // corner lie on the ground as if counted from the field's.
    positions_.assign(vertices, FSFixedVector{});
    detailCoords_.assign(vertices * 2, 0);
    for (int32_t b = 0; b < w; ++b) {
        for (int32_t a = 0; a < w; ++a) {
            const size_t v = static_cast<size_t>(a) + static_cast<size_t>(b) * w;
            positions_[v].x = static_cast<FSFixed>(static_cast<int64_t>(a) * spacing);
            positions_[v].z = static_cast<FSFixed>(static_cast<int64_t>(b) * spacing);
            detailCoords_[2 * v] = FixedFromInt(a * kTerrainDetailRepeats);
            detailCoords_[2 * v + 1] = FixedFromInt(b * kTerrainDetailRepeats);
        }
    }
    shadeColours_.assign(vertices * 4, kFixedOne);
    passColours_.assign(vertices * 4, kFixedOne);
    texcoords_.assign(TextureSetCount(), std::vector<FSFixed>(vertices * 2, 0));
    layerWeights_.assign(static_cast<size_t>(layers) * vertices, 0);
    vertexFlags_.assign(vertices, 0);
    distanceSquared_.assign(vertices, 0);

    // The full index list: two triangles per square, squares row by row.
    const int32_t s = w - 1;
    const size_t triangles = static_cast<size_t>(s) * s * 2;
    fullIndices_.clear();
    fullIndices_.reserve(triangles * 3);
    for (int32_t r = 0; r < s; ++r) {
        for (int32_t c = 0; c < s; ++c) {
            const int32_t k = r * w + c;
            const uint16_t tri[6] = {static_cast<uint16_t>(k),     static_cast<uint16_t>(k + w + 1),
                                     static_cast<uint16_t>(k + 1), static_cast<uint16_t>(k),
                                     static_cast<uint16_t>(k + w), static_cast<uint16_t>(k + w + 1)};
            fullIndices_.insert(fullIndices_.end(), tri, tri + 6);
        }
    }
    triangleLayer_.assign(triangles, 0);
    triangleBlend_.assign(triangles, 0);
    visible_.clear();
    visible_.reserve(triangles);
    untexturedIndices_.reserve(triangles * 3);
    passes_.assign(static_cast<size_t>(std::max(1, DrawableBands())) * layers, PassLists{});

    quadtree_.Build(w, spacing);
    builtGeneration_ = Generation();
    builtWindow_ = w;
}

void CFSTerrainModel::RebuildWindow(int32_t vertexColumn, int32_t vertexRow) {
    const int32_t n = GetGridSize();
    const int32_t w = WindowSize();
    const int32_t half = (w - 1) / 2;
    originColumn_ = vertexColumn - half;
    originRow_ = vertexRow - half;
    if (originColumn_ < 0) originColumn_ += n;
    if (originRow_ < 0) originRow_ += n;
    vertexColumn_ = vertexColumn;
    vertexRow_ = vertexRow;

    // The window in one, two or four rectangular pieces, as it runs over the right edge,
    // the bottom edge or both (the window is never wider than N + 1, so two per axis do).
    const int32_t firstWidth = std::min(w, n - originColumn_);
    const int32_t firstHeight = std::min(w, n - originRow_);
    CopyPiece(0, 0, firstWidth, firstHeight, originColumn_, originRow_);
    if (firstWidth < w) CopyPiece(firstWidth, 0, w - firstWidth, firstHeight, 0, originRow_);
    if (firstHeight < w) CopyPiece(0, firstHeight, firstWidth, w - firstHeight, originColumn_, 0);
    if (firstWidth < w && firstHeight < w)
        CopyPiece(firstWidth, firstHeight, w - firstWidth, w - firstHeight, 0, 0);

    // The extended coordinate sets hold the window whole, continuing across the seam.
    const int32_t e = ExtendedSide();
    for (int32_t set = 0; set < static_cast<int32_t>(texcoords_.size()); ++set) {
        const std::vector<FSFixed>& source = ExtendedTextureCoordinates(set);
        for (int32_t b = 0; b < w; ++b) {
            const FSFixed* from = source.data() + 2 * (static_cast<size_t>(originColumn_) +
                                                       static_cast<size_t>(originRow_ + b) * e);
            std::copy(from, from + 2 * w, texcoords_[set].data() + 2 * static_cast<size_t>(b) * w);
        }
    }
    ClassifyTriangles();
    quadtree_.FitHeights(positions_.data());
}

void CFSTerrainModel::CopyPiece(int32_t a0, int32_t b0, int32_t width, int32_t height, int32_t column,
                                int32_t row) {
    const int32_t w = WindowSize();
    const size_t vertices = static_cast<size_t>(w) * w;
    const int32_t layers = static_cast<int32_t>(layerWeights_.size() / vertices);
    for (int32_t b = 0; b < height; ++b) {
        for (int32_t a = 0; a < width; ++a) {
            const size_t v = static_cast<size_t>(a0 + a) + static_cast<size_t>(b0 + b) * w;
            const int32_t i = column + a, j = row + b;
            positions_[v].y = Height(i, j);
            for (int32_t k = 0; k < layers; ++k)
                layerWeights_[static_cast<size_t>(k) * vertices + v] =
                    k == 0 ? kFixedOne : LayerWeight(k, i, j);
            ShadeVertex(v, i, j);
        }
    }
}

void CFSTerrainModel::ShadeVertex(size_t vertex, int32_t column, int32_t row) {
    const Shade colour = GroundColour(FixedToFloat(Height(column, row)));
    const FSFixedVector& n = FaceNormal(column, row, 1);
    // Light from (−0.4, 0.82, 0.41) normalised; the normals are unit length in 16.16.
    const float lit = (-0.40f * FixedToFloat(n.x) + 0.82f * FixedToFloat(n.y) + 0.41f * FixedToFloat(n.z));
    const float shade = 0.45f + 0.55f * std::clamp(lit, 0.0f, 1.0f);
    FSFixed* out = shadeColours_.data() + 4 * vertex;
    out[0] = FloatToFixed(colour.r * shade);
    out[1] = FloatToFixed(colour.g * shade);
    out[2] = FloatToFixed(colour.b * shade);
    out[3] = kFixedOne;
}

void CFSTerrainModel::ClassifyTriangles() {
    const int32_t w = WindowSize();
    const size_t vertices = static_cast<size_t>(w) * w;
    const int32_t layers = static_cast<int32_t>(layerWeights_.size() / vertices);
    // Each vertex's top layer: the highest it belongs to wholly (0, the base, if none).
    std::vector<uint8_t> top(vertices, 0);
    for (int32_t k = 1; k < layers; ++k) {
        const FSFixed* weights = layerWeights_.data() + static_cast<size_t>(k) * vertices;
        for (size_t v = 0; v < vertices; ++v) {
            if (weights[v] >= kFixedOne) top[v] = static_cast<uint8_t>(k);
        }
    }
    const size_t triangles = triangleLayer_.size();
    for (size_t t = 0; t < triangles; ++t) {
        const uint16_t* corner = fullIndices_.data() + 3 * t;
        const uint8_t layer = std::min({top[corner[0]], top[corner[1]], top[corner[2]]});
        uint8_t blend = 0;
        for (int32_t k = layer + 1; k < layers; ++k) {
            const FSFixed* weights = layerWeights_.data() + static_cast<size_t>(k) * vertices;
            if (weights[corner[0]] > 0 || weights[corner[1]] > 0 || weights[corner[2]] > 0)
                blend = static_cast<uint8_t>(blend | (1u << k));
        }
        triangleLayer_[t] = layer;
        triangleBlend_[t] = blend;
    }
}

void CFSTerrainModel::Prepare(const FSFixedVector& eye, const FSCell& cell, bool force) {
    if (!IsLoaded()) return;
    EnsureBuilt();
    const FSGridLocation at = LocateGrid(TerrainPosition(eye, cell));
    if (force || at.column != vertexColumn_ || at.row != vertexRow_) RebuildWindow(at.column, at.row);
    // The eye in window coordinates: its vertex sits at (W − 1) / 2, plus the eye's offset
    // from that vertex (exact, not fraction × spacing).
    const int64_t half = (WindowSize() - 1) / 2;
    offset_.x = static_cast<FSFixed>(half * Spacing() + at.dx);
    offset_.z = static_cast<FSFixed>(half * Spacing() + at.dz);
    offset_.y = eye.y;
}

float CFSTerrainModel::GroundReach() const {
    // The eye's vertex stands (W − 1) / 2 squares from the near edge and the rest from the
    // far one, and the eye itself up to one square beyond its vertex.
    const int32_t w = WindowSize();
    const int32_t squares = std::max(0, w - 1 - (w - 1) / 2 - 1);
    return static_cast<float>(squares) * FixedToFloat(Spacing());
}

bool CFSTerrainModel::IsTileVisible(const FSTile& tile) const {
    if (!IsLoaded() || builtGeneration_ != Generation() || builtWindow_ != WindowSize()) return false;
    const int32_t n = GetGridSize();
    if (tile.column < 0 || tile.row < 0 || tile.column >= n || tile.row >= n) return false;
    int32_t column = tile.column - originColumn_;
    int32_t row = tile.row - originRow_;
    if (column < 0) column += n;
    if (row < 0) row += n;
    const int32_t squares = WindowSize() - 1;
    if (column >= squares || row >= squares) return false;
    return quadtree_.IsStamped(column, row, frameStamp_);
}
