#pragma once
// What the loaders' fuzz targets share. Each target is one LLVMFuzzerTestOneInput: built
// with libFuzzer under clang (-DAEROVANT_FUZZ=ON, tools/fuzz/run.sh) it searches, and built
// into aerovant-fuzz-replay it runs the kept corpora in ctest with no fuzzing engine.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "resources/FSArchive.h"

namespace fuzz {

// The bytes as a file that lives only in memory, for loaders that read a path: the path
// names the same in-memory file on every call, rewritten each time.
const std::string& MemoryFile(const uint8_t* data, size_t size);

inline std::string_view Text(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The bytes as ReadArchiveText hands a text over: a copy with a terminator after it.
FSMemoryBlock TextBlock(const uint8_t* data, size_t size);

// The first byte of the input as a small choice, the rest as the input proper.
inline int TakeChoice(const uint8_t*& data, size_t& size, int choices) {
    if (size == 0) return 0;
    const int choice = data[0] % choices;
    ++data;
    --size;
    return choice;
}

}  // namespace fuzz
