#include "world/FSTerrainFile.h"

#include <cstring>

namespace {

struct Span {
    uint32_t id;
    const uint8_t* payload;
    size_t length;
};

uint32_t ReadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

FSFixed ReadFixed(const uint8_t* p) {
    return static_cast<FSFixed>(ReadU32(p));
}

// Reads the payload as a sequence of fields, refusing to step past its end.
class PayloadReader {
public:
    PayloadReader(const uint8_t* data, size_t length) : data_(data), length_(length) {}

    bool U32(uint32_t& value) {
        if (length_ - at_ < 4) return false;
        value = ReadU32(data_ + at_);
        at_ += 4;
        return true;
    }
    // A name stored as a length and that many bytes holding a zero-terminated string.
    bool Name(std::string& name) {
        uint32_t length = 0;
        if (!U32(length) || length > length_ - at_) return false;
        const uint8_t* bytes = data_ + at_;
        const void* zero = std::memchr(bytes, 0, length);
        if (!zero) return false;
        name.assign(reinterpret_cast<const char*>(bytes), static_cast<const uint8_t*>(zero) - bytes);
        at_ += length;
        return true;
    }

private:
    const uint8_t* data_;
    size_t length_;
    size_t at_ = 0;
};

// Splits the member into chunks; false when a header or a payload runs past the end.
bool SplitChunks(const uint8_t* bytes, size_t size, std::vector<Span>& spans) {
    size_t at = 0;
    while (at < size) {
        if (size - at < 8) return false;
        const uint32_t id = ReadU32(bytes + at);
        const uint32_t length = ReadU32(bytes + at + 4);
        at += 8;
        if (length > size - at) return false;
        spans.push_back(Span{id, bytes + at, length});
        at += length;
    }
    return true;
}

std::vector<FSFixed> ReadFixeds(const uint8_t* p, size_t count) {
    std::vector<FSFixed> values(count);
    for (size_t k = 0; k < count; ++k)
        values[k] = ReadFixed(p + 4 * k);
    return values;
}

bool ReadBands(const Span& span, std::vector<FSTerrainFileBand>& bands) {
    PayloadReader reader(span.payload, span.length);
    uint32_t count = 0;
    if (!reader.U32(count) || count > static_cast<uint32_t>(kTerrainMaxBands)) return false;
    bands.assign(count, FSTerrainFileBand{});
    for (FSTerrainFileBand& band : bands) {
        uint32_t start = 0, end = 0;
        if (!reader.U32(start) || !reader.U32(end)) return false;
        band.start = static_cast<FSFixed>(start);
        band.end = static_cast<FSFixed>(end);
    }
    return true;
}

bool ReadMaterials(const Span& span, FSTerrainFileData& data) {
    PayloadReader reader(span.payload, span.length);
    uint32_t count = 0, namesPerMaterial = 0;
    if (!reader.U32(count) || !reader.U32(namesPerMaterial)) return false;
    if (count > static_cast<uint32_t>(kTerrainMaxLayers) ||
        namesPerMaterial > static_cast<uint32_t>(kTerrainMaxBands))
        return false;
    data.namesPerMaterial = static_cast<int32_t>(namesPerMaterial);
    data.materials.assign(count, FSTerrainFileMaterial{});
    for (FSTerrainFileMaterial& material : data.materials) {
        if (!reader.U32(material.identifier)) return false;
        material.textureNames.resize(namesPerMaterial);
        for (std::string& name : material.textureNames) {
            if (!reader.Name(name)) return false;
        }
    }
    return true;
}

// The grid size from the chunk 2 records: every one present must agree.
bool FindGridSize(const std::vector<Span>& spans, int32_t& gridSize) {
    bool found = false;
    uint32_t size = 0;
    for (const Span& span : spans) {
        if (span.id != kTerrainChunkGridSize) continue;
        if (span.length < 4) return false;
        const uint32_t value = ReadU32(span.payload);
        if (found && value != size) return false;
        size = value;
        found = true;
    }
    if (!found || size < 2 || size > static_cast<uint32_t>(kTerrainMaxGrid)) return false;
    gridSize = static_cast<int32_t>(size);
    return true;
}

}  // namespace

bool ParseTerrainFile(const uint8_t* bytes, size_t size, bool full, FSTerrainFileData& data) {
    data = FSTerrainFileData{};
    if (!bytes || size == 0) return false;
    std::vector<Span> spans;
    if (!SplitChunks(bytes, size, spans)) return false;
    // The arrays' sizes depend on N, which may come in any chunk: find it first.
    if (!FindGridSize(spans, data.gridSize)) return false;
    const size_t cells = static_cast<size_t>(data.gridSize) * static_cast<size_t>(data.gridSize);

    bool haveSide = false, haveHeights = false, haveNormals = false;
    for (const Span& span : spans) {
        switch (span.id) {
            case kTerrainChunkMaterialName: {
                const void* zero = std::memchr(span.payload, 0, span.length);
                if (!zero) return false;
                data.names.emplace_back(reinterpret_cast<const char*>(span.payload),
                                        static_cast<const uint8_t*>(zero) - span.payload);
                break;
            }
            case kTerrainChunkGridSize:
                break;  // read above
            case kTerrainChunkSide:
                if (span.length < 4) return false;
                data.side = ReadFixed(span.payload);
                haveSide = true;
                break;
            case kTerrainChunkVersion:
                if (span.length < 4) return false;
                data.version = ReadU32(span.payload);
                break;
            case kTerrainChunkMaterialMap:
                if (span.length != cells) return false;
                data.materialMap.assign(span.payload, span.payload + cells);
                break;
            case kTerrainChunkHeights:
                if (span.length != cells * 4) return false;
                data.heights = ReadFixeds(span.payload, cells);
                haveHeights = true;
                break;
            case kTerrainChunkTextureCoordinates: {
                const size_t setBytes = cells * 8;
                if (span.length == 0 || span.length % setBytes != 0) return false;
                const size_t sets = span.length / setBytes;
                if (sets > static_cast<size_t>(kTerrainMaxBands)) return false;
                data.textureSets = static_cast<int32_t>(sets);
                data.textureCoordinates = ReadFixeds(span.payload, sets * cells * 2);
                break;
            }
            case kTerrainChunkFaceNormals: {
                if (span.length != cells * 24) return false;
                const std::vector<FSFixed> values = ReadFixeds(span.payload, cells * 6);
                data.normals.resize(cells * 2);
                for (size_t k = 0; k < data.normals.size(); ++k)
                    data.normals[k] = FSFixedVector{values[3 * k], values[3 * k + 1], values[3 * k + 2]};
                haveNormals = true;
                break;
            }
            case kTerrainChunkBands:
                if (full && !ReadBands(span, data.bands)) return false;
                break;
            case kTerrainChunkMaterials:
                if (full && !ReadMaterials(span, data)) return false;
                break;
            default:
                break;  // not ours: skipped by its length
        }
    }
    if (!haveSide || !haveHeights || !haveNormals) return false;
    if (data.side <= 0 || data.side > kTerrainMaxSide) return false;
    // The spacing side / N must not vanish in 16.16.
    if (data.side / data.gridSize == 0) return false;
    if (data.materialMap.empty()) data.materialMap.assign(cells, 0);
    return true;
}
