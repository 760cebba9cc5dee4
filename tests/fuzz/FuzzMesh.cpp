// An OBJ model read into a mesh: every triangle's corners, normals and texture points.
#include <vector>

#include "FuzzSupport.h"
#include "resources/FSMeshLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    FSMesh mesh;
    if (CFSMeshLoader::ParseObj(text.data(), size, mesh)) {
        const size_t vertices = static_cast<size_t>(mesh.vertexCount);
        if (mesh.positions.size() != 3 * vertices || mesh.indices.size() != vertices ||
            mesh.triangleCount > kLargestMeshTriangles)
            __builtin_trap();
    }
    return 0;
}
