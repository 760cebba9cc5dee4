#pragma once
// The real terrain files of data/terrains.zip.
#include <string>

#include "resources/FSArchive.h"

namespace terrain_test {

inline const char* const kTerrainNames[] = {"valley.ter", "coast.ter", "farmland.ter"};

inline std::string TerrainsArchive() {
    return MakeDataPath("data\\terrains.zip");
}

}  // namespace terrain_test
