#include "world/FSTerrainStorage.h"

#include <GLES/gl.h>

#include <algorithm>
#include <new>
#include <utility>

#include "resources/FSArchive.h"
#include "resources/FSPng.h"
#include "resources/FSTextureCache.h"

namespace {

FSFixed Saturate(int64_t value) {
    return static_cast<FSFixed>(std::clamp<int64_t>(value, -kFixedMax, kFixedMax));
}

// value modulo period, in [0, period).
int64_t WrapInto(int64_t value, int64_t period) {
    const int64_t rest = value % period;
    return rest < 0 ? rest + period : rest;
}

int64_t TerrainAxis(FSFixed local, int32_t cellIndex) {
    return static_cast<int64_t>(WrapCellIndex(cellIndex)) * kCellSize + local + kHalfCell;
}

FSFixed Squared(FSFixed d) {
    return Saturate((static_cast<int64_t>(d) * d) >> 16);
}

}  // namespace

CFSTerrainStorage::CFSTerrainStorage() = default;
CFSTerrainStorage::~CFSTerrainStorage() = default;

bool CFSTerrainStorage::Load(const std::string& archivePath, const std::string& memberName, int windowSize,
                             bool full) {
    Release();
    const FSMemoryBlock block = ReadArchiveMember(archivePath, memberName);
    if (!block) return false;
    return LoadFromMemory(block.data.get(), block.size, windowSize, full);
}

bool CFSTerrainStorage::LoadFromMemory(const uint8_t* bytes, size_t size, int windowSize, bool full) {
    Release();
    try {
        FSTerrainFileData data;
        if (!ParseTerrainFile(bytes, size, full, data)) {
            Release();
            return false;
        }
        heights_ = std::move(data.heights);
        textureSets_ = data.textureSets;
        textureCoordinates_ = std::move(data.textureCoordinates);
        normals_ = std::move(data.normals);
        materialMap_ = std::move(data.materialMap);
        side_ = data.side;
        version_ = data.version;
        spacing_ = data.side / data.gridSize;  // exact side / N in 16.16
        gridSize_ = data.gridSize;
        BuildMaterialSet(data);
        names_ = std::move(data.names);
        StoreWindowSize(windowSize);
        BuildLayerWeights();
    } catch (const std::bad_alloc&) {
        Release();
        return false;
    }
    ++generation_;
    // Route loading runs with the flight's GL context current; tools and tests that load
    // without one get their textures on the first draw.
    if (glGetString(GL_VERSION) != nullptr) FetchTextures();
    return true;
}

void CFSTerrainStorage::Release() {
    names_.clear();
    gridSize_ = 0;
    heights_.clear();
    textureSets_ = 0;
    textureCoordinates_.clear();
    extended_.clear();
    normals_.clear();
    materialMap_.clear();
    side_ = 0;
    version_ = 0;
    spacing_ = 0;
    windowSize_ = 0;
    layerWeights_.clear();
    layers_.clear();
    bands_.clear();
    texturesFetched_ = false;
    detailTexture_ = 0;
}

int32_t CFSTerrainStorage::ClampWindowSize(int windowSize, int32_t gridSize) {
    const int32_t largest = std::min(kTerrainMaxWindow, gridSize + 1);
    return std::clamp(windowSize, 2, std::max(2, largest));
}

void CFSTerrainStorage::StoreWindowSize(int windowSize) {
    if (!IsLoaded()) return;
    windowSize_ = ClampWindowSize(windowSize, gridSize_);
    ExtendTextureCoordinates();
}

void CFSTerrainStorage::ExtendTextureCoordinates() {
    // Each set is widened from N × N to (N + W) × (N + W) pairs by repeating the grid, so
    // that any window can be copied out of it in one piece without a jump in the
    // coordinates at the seam: a copy from beyond the right edge gets u + 12, from beyond
    // the bottom edge v + 12.
    const int32_t n = gridSize_;
    const int32_t e = ExtendedSide();
    extended_.assign(textureSets_, std::vector<FSFixed>());
    for (int32_t set = 0; set < textureSets_; ++set) {
        const FSFixed* source = textureCoordinates_.data() + static_cast<size_t>(set) * n * n * 2;
        std::vector<FSFixed>& out = extended_[set];
        out.resize(static_cast<size_t>(e) * e * 2);
        for (int32_t b = 0; b < e; ++b) {
            const uint32_t addV = static_cast<uint32_t>(b / n) * static_cast<uint32_t>(kTerrainTextureWrap);
            for (int32_t a = 0; a < e; ++a) {
                const uint32_t addU =
                    static_cast<uint32_t>(a / n) * static_cast<uint32_t>(kTerrainTextureWrap);
                const FSFixed* uv =
                    source + 2 * (static_cast<size_t>(a % n) + static_cast<size_t>(n) * (b % n));
                FSFixed* target = out.data() + 2 * (static_cast<size_t>(a) + static_cast<size_t>(e) * b);
                // Unsigned sums: a hostile coordinate near the limit wraps instead of overflowing.
                target[0] = static_cast<FSFixed>(static_cast<uint32_t>(uv[0]) + addU);
                target[1] = static_cast<FSFixed>(static_cast<uint32_t>(uv[1]) + addV);
            }
        }
    }
}

void CFSTerrainStorage::BuildLayerWeights() {
    // A vertex belongs wholly to each layer one of its nibbles names; as every weight is
    // then 0 or 1.0, clamping to 1.0 and normalising by the sum leave them unchanged.
    const size_t cells = static_cast<size_t>(gridSize_) * gridSize_;
    const int32_t layers = static_cast<int32_t>(layers_.size());
    layerWeights_.assign(layers > 1 ? static_cast<size_t>(layers - 1) * cells : 0, 0);
    for (int32_t k = 1; k < layers; ++k) {
        FSFixed* weights = layerWeights_.data() + static_cast<size_t>(k - 1) * cells;
        for (size_t v = 0; v < cells; ++v) {
            const uint8_t m = materialMap_[v];
            weights[v] = ((m & 15) == k + 1 || (m >> 4) == k + 1) ? kFixedOne : 0;
        }
    }
}

void CFSTerrainStorage::BuildMaterialSet(const FSTerrainFileData& data) {
    layers_.clear();
    for (size_t k = 0; k < data.materials.size(); ++k) {
        FSTerrainLayer layer;
        layer.identifier = data.materials[k].identifier;
        layer.name = k < data.names.size() ? data.names[k] : std::string();
        layer.textureNames = data.materials[k].textureNames;
        layer.textures.assign(layer.textureNames.size(), 0);
        layers_.push_back(std::move(layer));
    }
    bands_.clear();
    for (const FSTerrainFileBand& band : data.bands)
        bands_.push_back(FSTerrainBand{band.start, band.end, Squared(band.start), Squared(band.end)});
    texturesFetched_ = false;
}

void CFSTerrainStorage::FetchTextures() {
    if (texturesFetched_ || !IsLoaded()) return;
    CFSTextureCache* cache = textures_;
    if (!cache) return;
    for (FSTerrainLayer& layer : layers_) {
        for (size_t b = 0; b < layer.textureNames.size(); ++b) {
            const uint32_t texture = cache->GetTexture(layer.textureNames[b], FSTextureFiltering::Mipmapped);
            layer.textures[b] = texture == kNoTexture ? 0 : texture;
        }
    }
    const uint32_t detail = cache->GetTexture(kTerrainDetailTexture, FSTextureFiltering::Smooth);
    detailTexture_ = detail == kNoTexture ? 0 : detail;
    texturesFetched_ = true;
}

int32_t CFSTerrainStorage::DrawableBands() const {
    if (layers_.empty()) return 0;
    int32_t count = std::min<int32_t>(textureSets_, static_cast<int32_t>(bands_.size()));
    for (const FSTerrainLayer& layer : layers_)
        count = std::min<int32_t>(count, static_cast<int32_t>(layer.textureNames.size()));
    return count;
}

size_t CFSTerrainStorage::Index(int32_t i, int32_t j) const {
    const int64_t n = gridSize_;
    return static_cast<size_t>(WrapInto(i, n) + n * WrapInto(j, n));
}

FSFixed CFSTerrainStorage::Height(int32_t i, int32_t j) const {
    return IsLoaded() ? heights_[Index(i, j)] : 0;
}

uint8_t CFSTerrainStorage::MaterialByte(int32_t i, int32_t j) const {
    return IsLoaded() ? materialMap_[Index(i, j)] : 0;
}

FSFixed CFSTerrainStorage::LayerWeight(int32_t layer, int32_t i, int32_t j) const {
    if (!IsLoaded() || layer < 0 || layer >= static_cast<int32_t>(layers_.size())) return 0;
    if (layer == 0) return kFixedOne;
    const size_t cells = static_cast<size_t>(gridSize_) * gridSize_;
    return layerWeights_[static_cast<size_t>(layer - 1) * cells + Index(i, j)];
}

const FSFixedVector& CFSTerrainStorage::FaceNormal(int32_t i, int32_t j, int triangle) const {
    static const FSFixedVector kUp{0, kFixedOne, 0};
    if (!IsLoaded()) return kUp;
    return normals_[Index(i, j) * 2 + (triangle != 0 ? 1 : 0)];
}

FSFixedVector CFSTerrainStorage::TerrainPosition(const FSFixedVector& local, const FSCell& cell) {
    return {Saturate(TerrainAxis(local.x, cell.column)), local.y, Saturate(TerrainAxis(local.z, cell.row))};
}

FSGridLocation CFSTerrainStorage::LocateGrid(const FSFixedVector& p) const {
    FSGridLocation at;
    if (!IsLoaded()) return at;
    const int64_t x = WrapInto(p.x, side_);
    const int64_t z = WrapInto(p.z, side_);
    // Exact quotients by the spacing: the 16.16 inverse of 1.875 is 3e-5 short, which would
    // put the far side of the field some metres off and points on a diagonal into either
    // triangle.
    at.column = static_cast<int32_t>(x / spacing_);
    at.row = static_cast<int32_t>(z / spacing_);
    at.dx = static_cast<FSFixed>(x - static_cast<int64_t>(at.column) * spacing_);
    at.dz = static_cast<FSFixed>(z - static_cast<int64_t>(at.row) * spacing_);
    // A side that N does not divide leaves a sliver beyond vertex N, which is vertex 0.
    if (at.column >= gridSize_) at.column -= gridSize_;
    if (at.row >= gridSize_) at.row -= gridSize_;
    at.fx = static_cast<FSFixed>(
        std::min<int64_t>((static_cast<int64_t>(at.dx) << 16) / spacing_, kFixedOne - 1));
    at.fz = static_cast<FSFixed>(
        std::min<int64_t>((static_cast<int64_t>(at.dz) << 16) / spacing_, kFixedOne - 1));
    at.triangle = at.fx <= at.fz ? 1 : 0;
    return at;
}

FSFixed CFSTerrainStorage::GroundHeight(const FSGridLocation& at) const {
    // The plane through corner (i, j) with the face normal n: n · (p − P0) = 0, solved for y.
    const FSFixedVector& n = FaceNormal(at.column, at.row, at.triangle);
    const FSFixed corner = heights_[Index(at.column, at.row)];
    // A vertical face (n.y = 0, only in a corrupt file) has no height to offer.
    if (n.y == 0) return corner;
    const int64_t along = (static_cast<int64_t>(n.x) * at.dx + static_cast<int64_t>(n.z) * at.dz) >> 16;
    const FSFixed rise = FixedDiv(Saturate(along), n.y);
    return Saturate(static_cast<int64_t>(corner) - rise);
}

FSFixed CFSTerrainStorage::HeightAbove(const FSFixedVector& p) const {
    if (!IsLoaded()) return p.y;
    return Saturate(static_cast<int64_t>(p.y) - GroundHeight(LocateGrid(p)));
}

FSFixed CFSTerrainStorage::HeightAboveAt(const FSFixedVector& local, const FSCell& cell) const {
    if (!IsLoaded()) return local.y;
    // Wrapped here in 64 bits, so any local position is answered.
    const FSFixedVector p{static_cast<FSFixed>(WrapInto(TerrainAxis(local.x, cell.column), side_)), local.y,
                          static_cast<FSFixed>(WrapInto(TerrainAxis(local.z, cell.row), side_))};
    return HeightAbove(p);
}

FSFixedVector CFSTerrainStorage::GroundNormal(const FSFixedVector& p) const {
    const FSGridLocation at = LocateGrid(p);
    return FaceNormal(at.column, at.row, at.triangle);
}

FSFixedVector CFSTerrainStorage::GroundNormalAt(const FSFixedVector& local, const FSCell& cell) const {
    if (!IsLoaded()) return FaceNormal(0, 0, 0);
    const FSFixedVector p{static_cast<FSFixed>(WrapInto(TerrainAxis(local.x, cell.column), side_)), local.y,
                          static_cast<FSFixed>(WrapInto(TerrainAxis(local.z, cell.row), side_))};
    return GroundNormal(p);
}

bool CFSTerrainStorage::TouchesGround(const MFSSceneNode& node) const {
    if (!IsLoaded()) return false;
    const FSBox box = node.GetSweptBox();
    if (box.IsEmpty()) return HeightAboveAt(node.GetPosition(), node.GetCell()) < kGroundContactHeight;
    const FSBox grown = box.Grown(kGroundContactMargin);
    const FSFixed y = grown.min.y;
    const FSFixedVector corners[4] = {{grown.min.x, y, grown.min.z},
                                      {grown.max.x, y, grown.min.z},
                                      {grown.min.x, y, grown.max.z},
                                      {grown.max.x, y, grown.max.z}};
    for (const FSFixedVector& corner : corners) {
        if (HeightAboveAt(corner, node.GetCell()) < kGroundContactHeight) return true;
    }
    return false;
}

FSTile CFSTerrainStorage::TileOf(const FSFixedVector& local, const FSCell& cell) const {
    if (!IsLoaded()) return FSTile{};
    const FSFixedVector p{static_cast<FSFixed>(WrapInto(TerrainAxis(local.x, cell.column), side_)), local.y,
                          static_cast<FSFixed>(WrapInto(TerrainAxis(local.z, cell.row), side_))};
    const FSGridLocation at = LocateGrid(p);
    return FSTile{at.column, at.row};
}
