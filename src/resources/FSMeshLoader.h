#pragma once
// Triangle meshes from the Wavefront OBJ members of the models archive, in 16.16 fixed
// point, flattened so that every corner of every triangle is its own vertex (ready for
// glDrawElements with GL_FIXED arrays). Each model file is parsed once per run; every
// request gets its own copy of the arrays, because a meshed node scales its copy in place.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// The arrays of one model. All coordinates are 16.16 fixed point.
struct FSMesh {
    // Bounding box of all positions: min x, min y, min z, max x, max y, max z. Empty (no
    // triangles): mins 0x7FFFFFFF, maxes 0x80000000.
    int32_t box[6] = {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN, INT32_MIN};
    int32_t triangleCount = 0;
    int32_t vertexCount = 0;         // 3 x triangleCount
    std::vector<int32_t> positions;  // x, y, z per vertex
    std::vector<int32_t> normals;    // x, y, z per vertex
    std::vector<int32_t> texCoords;  // u, v per vertex
    std::vector<uint16_t> indices;   // 0, 1, 2, ... vertexCount - 1

    bool IsEmpty() const { return triangleCount == 0; }
};

// 16-bit indices reach 65 535 vertices, three per triangle.
inline constexpr int32_t kLargestMeshTriangles = 21845;

class CFSMeshLoader {
public:
    // archivePath: the models archive (the engine passes MakeDataPath("data\\models.zip")).
    explicit CFSMeshLoader(std::string archivePath);

    // Fills mesh with a copy of the named model (the member name, matched exactly and
    // case-sensitively in the cache). False, with mesh empty, when the member cannot be
    // read, holds no triangle, or has more than kLargestMeshTriangles triangles; a model
    // that cannot be read is tried again on the next request.
    bool LoadMesh(const std::string& modelName, FSMesh& mesh);

    // Parses OBJ text (size bytes followed by a 0; cut in place) into mesh. Lines end at LF,
    // CR LF or a lone CR; a UTF-8 byte-order mark before the first line is skipped. Numbers
    // have a decimal point whatever the process locale. Understood: "v x y z", "vn x y z",
    // "vt u v" (negative values become 0) and "f" with corners "p", "p/t", "p//n", "p/t/n",
    // 1-based or negative (-1 is the last item read so far). A face of n corners is the fan
    // of n - 2 triangles around its first corner; a face with a corner outside its lists is
    // dropped whole. A corner without a texture index gets (0, 0), a corner without a normal
    // gets its triangle's face normal. Other lines are ignored. False, with mesh empty, when
    // no triangle was read or there are more than kLargestMeshTriangles.
    static bool ParseObj(char* text, size_t size, FSMesh& mesh);

    size_t CachedModelCount() const { return cache_.size(); }
    // How many model files were parsed (a cached model is not parsed again).
    int ParseCount() const { return parses_; }

private:
    struct Entry {
        FSMesh mesh;
        bool usable = false;  // false: no triangle or over the limit, refused on every request
    };

    std::string archivePath_;
    std::map<std::string, Entry> cache_;
    int parses_ = 0;
};
