#include "resources/FSMeshLoader.h"

#include <cmath>
#include <cstring>
#include <string_view>

#include "resources/FSArchive.h"
#include "resources/FSKeywordReader.h"

namespace {

// The next word of [cursor, end), cut off with a 0 (the byte at end is the line's end or the
// text's terminating 0, so it may be overwritten). Null when the line is used up.
char* NextWord(char*& cursor, char* end) {
    while (cursor < end && IsWordSpace(*cursor))
        ++cursor;
    if (cursor >= end) return nullptr;
    char* word = cursor;
    while (cursor < end && !IsWordSpace(*cursor))
        ++cursor;
    *cursor = '\0';
    if (cursor < end) ++cursor;
    return word;
}

// An integer read like atoi (optional sign, then digits up to the first other character,
// no digits giving 0), saturating instead of overflowing; text is left after it.
long ReadIndex(const char*& text) {
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        if (value < 100000000L) value = value * 10 + (*text - '0');
    }
    return negative ? -value : value;
}

// One "f" corner "p", "p/t", "p//n" or "p/t/n" as written (1-based, negative counting back
// from the last item read so far, 0 when missing).
struct Corner {
    long position = 0;
    long texture = 0;
    long normal = 0;
};

Corner ReadCorner(const char* word) {
    Corner corner;
    long* parts[3] = {&corner.position, &corner.texture, &corner.normal};
    for (long* part : parts) {
        *part = ReadIndex(word);
        while (*word && *word != '/')
            ++word;  // atoi stops at the first non-digit; skip the rest
        if (*word != '/') break;
        ++word;
    }
    return corner;
}

// A corner as 0-based list indices; -1 for a texture or normal the corner leaves out.
struct CornerIndex {
    int32_t position = 0;
    int32_t texture = -1;
    int32_t normal = -1;
};

struct Triangle {
    CornerIndex corner[3];
};

// The lists filled while a file is parsed.
struct ObjLists {
    std::vector<int32_t> positions;  // x, y, z
    std::vector<int32_t> normals;    // x, y, z
    std::vector<int32_t> texCoords;  // u, v
    std::vector<Triangle> triangles;
    bool tooMany = false;
};

// 0-based index of a reference into a list of count items: 1-based from the start, or
// negative from the end (-1 the last item); -1 for a missing reference (0) and -2 for one
// outside the list.
int32_t ListIndex(long reference, size_t count, bool mayBeMissing) {
    if (reference == 0) return mayBeMissing ? -1 : -2;
    const long index = reference > 0 ? reference - 1 : static_cast<long>(count) + reference;
    if (index < 0 || static_cast<unsigned long>(index) >= count) return -2;
    return static_cast<int32_t>(index);
}

// The corner as list indices into the lists as they stand; false when it has no position or
// reaches outside a list.
bool Resolve(const ObjLists& lists, const Corner& written, CornerIndex& corner) {
    corner.position = ListIndex(written.position, lists.positions.size() / 3, false);
    corner.texture = ListIndex(written.texture, lists.texCoords.size() / 2, true);
    corner.normal = ListIndex(written.normal, lists.normals.size() / 3, true);
    return corner.position >= 0 && corner.texture >= -1 && corner.normal >= -1;
}

// The corners of an "f" line from cursor. A face of n corners becomes the fan of n - 2
// triangles around its first corner, the way modellers write convex polygons; a face with a
// corner that cannot be resolved is dropped whole. Corners are taken as they come, so a
// line of any length needs no more memory than its triangles.
void AddFace(char* cursor, char* end, ObjLists& lists) {
    const size_t before = lists.triangles.size();
    CornerIndex first, previous;
    size_t count = 0;
    while (const char* word = NextWord(cursor, end)) {
        CornerIndex corner;
        if (!Resolve(lists, ReadCorner(word), corner)) {
            lists.triangles.resize(before);
            return;
        }
        if (count >= 2) {
            if (lists.triangles.size() >= static_cast<size_t>(kLargestMeshTriangles)) {
                lists.tooMany = true;
                return;
            }
            lists.triangles.push_back(Triangle{{first, previous, corner}});
        }
        if (count++ == 0) first = corner;
        previous = corner;
    }
}

void ParseLine(char* line, char* end, ObjLists& lists) {
    // The keyword runs up to the first separator; a line without one is ignored.
    char* cursor = line;
    while (cursor < end && !IsWordSpace(*cursor))
        ++cursor;
    if (cursor >= end || cursor == line || line[0] == '#') return;
    const size_t keywordLength = static_cast<size_t>(cursor - line);
    ++cursor;
    auto is = [&](const char* keyword) {
        return std::strlen(keyword) == keywordLength && std::memcmp(line, keyword, keywordLength) == 0;
    };

    if (is("v") || is("vn")) {
        std::vector<int32_t>& list = is("v") ? lists.positions : lists.normals;
        for (int i = 0; i < 3; ++i) {
            const char* word = NextWord(cursor, end);
            list.push_back(word ? ToFixed(word) : 0);
        }
    } else if (is("vt")) {
        for (int i = 0; i < 2; ++i) {
            const char* word = NextWord(cursor, end);
            const int32_t value = word ? ToFixed(word) : 0;
            lists.texCoords.push_back(value < 0 ? 0 : value);
        }
    } else if (is("f")) {
        AddFace(cursor, end, lists);
    }
    // "mtllib", "usemtl", "usemat", "o" and everything else: nothing to do.
}

// Unit normal of the triangle's face in 16.16, zero for a degenerate triangle.
void FaceNormal(const ObjLists& lists, const Triangle& t, int32_t out[3]) {
    double p[3][3];
    for (int c = 0; c < 3; ++c) {
        for (int axis = 0; axis < 3; ++axis) {
            p[c][axis] = lists.positions[3 * static_cast<size_t>(t.corner[c].position) + axis] / 65536.0;
        }
    }
    const double a[3] = {p[1][0] - p[0][0], p[1][1] - p[0][1], p[1][2] - p[0][2]};
    const double b[3] = {p[2][0] - p[0][0], p[2][1] - p[0][1], p[2][2] - p[0][2]};
    const double n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    for (int axis = 0; axis < 3; ++axis) {
        out[axis] = length > 0.0 ? static_cast<int32_t>(n[axis] / length * 65536.0) : 0;
    }
}

void Flatten(const ObjLists& lists, FSMesh& mesh) {
    const size_t triangles = lists.triangles.size();
    const size_t vertices = 3 * triangles;
    mesh.triangleCount = static_cast<int32_t>(triangles);
    mesh.vertexCount = static_cast<int32_t>(vertices);
    mesh.positions.resize(3 * vertices);
    mesh.normals.resize(3 * vertices);
    mesh.texCoords.resize(2 * vertices);
    mesh.indices.resize(vertices);
    for (size_t t = 0; t < triangles; ++t) {
        const Triangle& triangle = lists.triangles[t];
        int32_t face[3] = {0, 0, 0};
        bool faceKnown = false;
        for (int c = 0; c < 3; ++c) {
            const size_t v = 3 * t + static_cast<size_t>(c);
            const CornerIndex& corner = triangle.corner[c];
            const int32_t* position = &lists.positions[3 * static_cast<size_t>(corner.position)];
            for (int axis = 0; axis < 3; ++axis) {
                mesh.positions[3 * v + axis] = position[axis];
                if (position[axis] < mesh.box[axis]) mesh.box[axis] = position[axis];
                if (position[axis] > mesh.box[3 + axis]) mesh.box[3 + axis] = position[axis];
            }
            const int32_t* normal;
            if (corner.normal >= 0) {
                normal = &lists.normals[3 * static_cast<size_t>(corner.normal)];
            } else {
                if (!faceKnown) FaceNormal(lists, triangle, face);
                faceKnown = true;
                normal = face;
            }
            for (int axis = 0; axis < 3; ++axis)
                mesh.normals[3 * v + axis] = normal[axis];
            if (corner.texture >= 0) {
                mesh.texCoords[2 * v] = lists.texCoords[2 * static_cast<size_t>(corner.texture)];
                mesh.texCoords[2 * v + 1] = lists.texCoords[2 * static_cast<size_t>(corner.texture) + 1];
            }
            mesh.indices[v] = static_cast<uint16_t>(v);
        }
    }
}

}  // namespace

CFSMeshLoader::CFSMeshLoader(std::string archivePath) : archivePath_(std::move(archivePath)) {}

bool CFSMeshLoader::ParseObj(char* text, size_t size, FSMesh& mesh) {
    mesh = FSMesh{};
    if (!text) return false;
    ObjLists lists;
    // Lines are cut as in the word-style text files: at LF, CR LF (the CR stays in the line
    // as white space) or a lone CR.
    const std::string_view whole(text, size);
    for (size_t start = ByteOrderMarkLength(whole); start < size;) {
        const size_t end = WordLineEnd(whole, start);
        ParseLine(text + start, text + end, lists);
        if (lists.tooMany) return false;
        start = end + 1;
    }
    if (lists.triangles.empty()) return false;
    Flatten(lists, mesh);
    return true;
}

bool CFSMeshLoader::LoadMesh(const std::string& modelName, FSMesh& mesh) {
    auto found = cache_.find(modelName);
    if (found == cache_.end()) {
        FSMemoryBlock text = ReadArchiveText(archivePath_, modelName);
        if (!text) {
            mesh = FSMesh{};
            return false;
        }
        ++parses_;
        Entry entry;
        entry.usable = ParseObj(reinterpret_cast<char*>(text.data.get()), text.size, entry.mesh);
        found = cache_.emplace(modelName, std::move(entry)).first;
    }
    mesh = found->second.mesh;
    return found->second.usable;
}
