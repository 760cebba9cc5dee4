// A terrain file's chunks, read for the flight (heights and normals) or in full.
#include "FuzzSupport.h"
#include "world/FSTerrainFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const bool full = fuzz::TakeChoice(data, size, 2) == 1;
    FSTerrainFileData terrain;
    if (ParseTerrainFile(data, size, full, terrain)) {
        const size_t cells = static_cast<size_t>(terrain.gridSize) * terrain.gridSize;
        if (terrain.gridSize <= 0 || terrain.gridSize > kTerrainMaxGrid || terrain.heights.size() != cells)
            __builtin_trap();
    }
    return 0;
}
