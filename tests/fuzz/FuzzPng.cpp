// A PNG texture decoded by libpng into the pixels the textures are made from.
#include "FuzzSupport.h"
#include "resources/FSPng.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FSPngImage image;
    if (DecodePng(data, size, image)) {
        const size_t expected = static_cast<size_t>(image.width) * image.height * image.channels;
        if (image.pixels.size() != expected || (image.channels != 3 && image.channels != 4)) __builtin_trap();
    }
    return 0;
}
