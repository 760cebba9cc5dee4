// An aircraft clip's AVI container: the headers, then every frame chunk, twice over.
#include "FuzzSupport.h"
#include "media/FSAviReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CFSAviReader reader;
    if (!reader.Parse(data, size)) return 0;
    for (int pass = 0; pass < 2; ++pass) {
        const uint8_t* chunk = nullptr;
        uint32_t length = 0;
        while (reader.NextChunk(chunk, length)) {
            if (chunk < data || chunk + length > data + size) __builtin_trap();
        }
        reader.Rewind();
    }
    return 0;
}
