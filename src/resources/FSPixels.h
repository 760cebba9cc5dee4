#pragma once
// Whole-buffer pixel conversions between the 32-bit 3-D image and 16-bit 5-6-5 screens.
#include <cstdint>

// 5-6-5 of an x8r8g8b8 colour: the top 5, 6 and 5 bits of red, green and blue.
inline uint16_t Pack565(uint32_t colour) {
    return static_cast<uint16_t>(((colour >> 8) & 0xF800u) | ((colour >> 5) & 0x07E0u) | ((colour >> 3) & 0x001Fu));
}

// Converts count pixels, two at a time (an odd last pixel is left as it was).
void ConvertTo565(uint16_t* destination, const uint32_t* source, int count);

// Scales a width x height 16-bit picture up by two: every pixel becomes a 2 x 2 block in
// a destination 2 x width wide.
void DoublePixels(uint16_t* destination, const uint16_t* source, int width, int height);
