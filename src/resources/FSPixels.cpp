#include "resources/FSPixels.h"

#include <cstring>

void ConvertTo565(uint16_t* destination, const uint32_t* source, int count) {
    // Two pixels per 32-bit word, the first in the low half (little-endian layout).
    uint32_t* out = reinterpret_cast<uint32_t*>(destination);
    const int pairs = count / 2;
    for (int i = 0; i < pairs; ++i) {
        const uint32_t a = source[2 * i];
        const uint32_t b = source[2 * i + 1];
        const uint32_t pa = ((a >> 8) & 0xF800u) | ((a >> 5) & 0x07E0u) | ((a >> 3) & 0x001Fu);
        const uint32_t pb = ((b >> 8) & 0xF800u) | ((b >> 5) & 0x07E0u) | ((b >> 3) & 0x001Fu);
        uint32_t word = pa | (pb << 16);
        std::memcpy(out + i, &word, sizeof word);
    }
}

void DoublePixels(uint16_t* destination, const uint16_t* source, int width, int height) {
    const int outWidth = 2 * width;
    for (int r = 0; r < height; ++r) {
        const uint16_t* in = source + r * width;
        uint16_t* row = destination + 2 * r * outWidth;
        for (int c = 0; c < width; ++c) {
            row[2 * c] = in[c];
            row[2 * c + 1] = in[c];
        }
        std::memcpy(row + outWidth, row, sizeof(uint16_t) * outWidth);
    }
}
