#pragma once
// Whole-buffer pixel conversions between the 32-bit 3-D image and 16-bit 5-6-5 screens.
#include <cstdint>

#include "resources/FSBitmap.h"

// 5-6-5 of an x8r8g8b8 colour: the top 5, 6 and 5 bits of red, green and blue.
inline uint16_t Pack565(uint32_t colour) {
    return static_cast<uint16_t>(((colour >> 8) & 0xF800u) | ((colour >> 5) & 0x07E0u) |
                                 ((colour >> 3) & 0x001Fu));
}

// Converts count pixels but an odd last one, which is left as it was.
void ConvertTo565(uint16_t* destination, const uint32_t* source, int count);
// Converts a size.w x size.h rectangle between buffers of the given strides (pixels), every
// pixel of every row, two at a time where the rows allow it.
void ConvertTo565(uint16_t* destination, FSPoint destinationPoint, int32_t destinationStride,
                  const uint32_t* source, FSPoint sourcePoint, int32_t sourceStride, FSSize size);

// destination = source with every channel scaled by factor (0..1, clamped), count pixels
// two at a time; fewer than 2 pixels do nothing and an odd last pixel is left as it was.
// destination may be source.
void DarkenPixels(uint16_t* destination, const uint16_t* source, int count, float factor);

// A quarter turn anticlockwise of a width x height picture into a height-wide, width-tall
// destination: source pixel (c, r) goes to (r, width - 1 - c). The menu shows its
// 320 x 240 screen this way for one of its landscape orientations. destination must not
// overlap source.
void RotateScreen(uint16_t* destination, const uint16_t* source, int width, int height);

// Scales a width x height 16-bit picture up by two: every pixel becomes a 2 x 2 block in
// a destination 2 x width wide.
void DoublePixels(uint16_t* destination, const uint16_t* source, int width, int height);
