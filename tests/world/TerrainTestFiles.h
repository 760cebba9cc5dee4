#pragma once
// The real terrain files of data/terrains.zip.
#include <string>

#include "resources/FSArchive.h"

namespace terrain_test {

inline std::string TerrainsArchive() {
    return MakeDataPath("data\\terrains.zip");
}

}  // namespace terrain_test
