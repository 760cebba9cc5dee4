#include "resources/FSMeshLoader.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "resources/FSArchive.h"

namespace {

// The separators of an OBJ line.
inline bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// The next word of [cursor, end), cut off with a 0 (the byte at end is the line's LF or
// the text's terminating 0, so it may be overwritten). Null when the line is used up.
char* NextWord(char*& cursor, char* end) {
    while (cursor < end && IsBlank(*cursor))
        ++cursor;
    if (cursor >= end) return nullptr;
    char* word = cursor;
    while (cursor < end && !IsBlank(*cursor))
        ++cursor;
    *cursor = '\0';
    if (cursor < end) ++cursor;
    return word;
}

// 16.16 of a decimal number read like atof, narrowed to single precision first. Values
// outside the 16.16 range saturate, and what is not a number reads as 0.
int32_t ToFixed(const char* word) {
    const double value = std::strtod(word, nullptr);
    if (std::isnan(value)) return 0;
    if (value >= 32768.0) return INT32_MAX;
    if (value <= -32768.0) return INT32_MIN;
    const float scaled = static_cast<float>(value) * 65536.0f;
    if (scaled >= 2147483648.0f) return INT32_MAX;  // a value just below 32768 rounded up
    return static_cast<int32_t>(scaled);
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

// One "f" corner "p", "p/t", "p//n" or "p/t/n" as written (1-based, 0 when missing).
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

// A triangle with 0-based list indices; -1 for a texture or normal the corner leaves out.
struct Triangle {
    int32_t position[3];
    int32_t texture[3];
    int32_t normal[3];
};

// The lists filled while a file is parsed.
struct ObjLists {
    std::vector<int32_t> positions;  // x, y, z
    std::vector<int32_t> normals;    // x, y, z
    std::vector<int32_t> texCoords;  // u, v
    std::vector<Triangle> triangles;
    bool tooMany = false;
};

// 0-based index of a 1-based reference into a list of count items; -1 for a missing
// reference (0) and -2 for one outside the list.
int32_t ListIndex(long reference, size_t count, bool mayBeMissing) {
    if (reference == 0 && mayBeMissing) return -1;
    if (reference < 1 || static_cast<unsigned long>(reference) > count) return -2;
    return static_cast<int32_t>(reference - 1);
}

void AddTriangle(ObjLists& lists, const Corner* corners) {
    Triangle t;
    for (int c = 0; c < 3; ++c) {
        t.position[c] = ListIndex(corners[c].position, lists.positions.size() / 3, false);
        t.texture[c] = ListIndex(corners[c].texture, lists.texCoords.size() / 2, true);
        t.normal[c] = ListIndex(corners[c].normal, lists.normals.size() / 3, true);
        if (t.position[c] < 0 || t.texture[c] < -1 || t.normal[c] < -1) return;  // a reference off its list
    }
    if (lists.triangles.size() >= static_cast<size_t>(kLargestMeshTriangles)) {
        lists.tooMany = true;
        return;
    }
    lists.triangles.push_back(t);
}

void ParseLine(char* line, char* end, ObjLists& lists) {
    // The keyword runs up to the first separator; a line without one is ignored.
    char* cursor = line;
    while (cursor < end && !IsBlank(*cursor))
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
        Corner group[3];
        int filled = 0;
        while (const char* word = NextWord(cursor, end)) {
            group[filled++] = ReadCorner(word);
            if (filled == 3) {
                AddTriangle(lists, group);
                filled = 0;
            }
        }
    }
    // "mtllib", "usemtl", "usemat", "o" and everything else: nothing to do.
}

// Unit normal of the triangle's face in 16.16, zero for a degenerate triangle.
void FaceNormal(const ObjLists& lists, const Triangle& t, int32_t out[3]) {
    double p[3][3];
    for (int c = 0; c < 3; ++c) {
        for (int axis = 0; axis < 3; ++axis) {
            p[c][axis] = lists.positions[3 * static_cast<size_t>(t.position[c]) + axis] / 65536.0;
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
            const int32_t* position = &lists.positions[3 * static_cast<size_t>(triangle.position[c])];
            for (int axis = 0; axis < 3; ++axis) {
                mesh.positions[3 * v + axis] = position[axis];
                if (position[axis] < mesh.box[axis]) mesh.box[axis] = position[axis];
                if (position[axis] > mesh.box[3 + axis]) mesh.box[3 + axis] = position[axis];
            }
            const int32_t* normal;
            if (triangle.normal[c] >= 0) {
                normal = &lists.normals[3 * static_cast<size_t>(triangle.normal[c])];
            } else {
                if (!faceKnown) FaceNormal(lists, triangle, face);
                faceKnown = true;
                normal = face;
            }
            for (int axis = 0; axis < 3; ++axis)
                mesh.normals[3 * v + axis] = normal[axis];
            if (triangle.texture[c] >= 0) {
                mesh.texCoords[2 * v] = lists.texCoords[2 * static_cast<size_t>(triangle.texture[c])];
                mesh.texCoords[2 * v + 1] = lists.texCoords[2 * static_cast<size_t>(triangle.texture[c]) + 1];
            }
            mesh.indices[v] = static_cast<uint16_t>(v);
        }
    }
}

}  // namespace

CFSMeshLoader::CFSMeshLoader(std::string archivePath) : archivePath_(std::move(archivePath)) {}

bool CFSMeshLoader::ParseObj(char* text, size_t size, FSMesh& mesh) {
    mesh = FSMesh{};
    if (!text) return true;
    ObjLists lists;
    char* const textEnd = text + size;
    for (char* line = text; line < textEnd;) {
        char* end = static_cast<char*>(std::memchr(line, '\n', static_cast<size_t>(textEnd - line)));
        if (!end) end = textEnd;
        ParseLine(line, end, lists);
        if (lists.tooMany) return false;
        line = end + 1;
    }
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
