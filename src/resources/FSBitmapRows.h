#pragma once
// Inner pieces shared by the bitmap copies: where the rows of a transformed rectangle
// land, and the 5-6-5 coverage blend. Only the copy and blit sources include this.
#include <cstddef>
#include <cstdint>

#include "resources/FSBitmap.h"

namespace bitmap_rows {

// Offsets in pixels from the destination's first pixel: source pixel (c, r) of the copied
// rectangle goes to first + r * rowStep + c * step.
struct Placement {
    ptrdiff_t first = 0;
    ptrdiff_t step = 0;
    ptrdiff_t rowStep = 0;
};

// False for an unknown transform or an empty rectangle (nothing to draw).
inline bool PlaceRows(int transform, FSPoint at, int32_t stride, FSSize copy, Placement& out) {
    if (copy.w <= 0 || copy.h <= 0) return false;
    const ptrdiff_t s = stride;
    const ptrdiff_t x = at.x;
    const ptrdiff_t y = at.y;
    const ptrdiff_t w = copy.w;
    const ptrdiff_t h = copy.h;
    switch (transform) {
        case 0:
            out = {y * s + x, 1, s};
            return true;
        case 1:
            out = {y * s + x + h - 1, s, -1};
            return true;
        case 2:
            out = {(y + h - 1) * s + x + w - 1, -1, -s};
            return true;
        case 3:
            out = {(y + w - 1) * s + x, -s, 1};
            return true;
        case 4:
            out = {y * s + x + w - 1, -1, s};
            return true;
        case 5:
            out = {(y + h - 1) * s + x, 1, -s};
            return true;
        default:
            return false;
    }
}

// The destination area a transform covers: the copy size, turned for codes 1 and 3.
inline FSSize TransformedArea(int transform, FSSize copy) {
    return (transform == 1 || transform == 3) ? FSSize{copy.h, copy.w} : copy;
}

// Each 5-6-5 channel moves from d toward s by coverage / 256 of the difference. The
// shift of a negative difference rounds toward minus infinity (arithmetic shift), so a
// channel never passes the source value.
inline uint16_t Blend565(uint32_t d, uint32_t s, int32_t coverage) {
    const int32_t dr = static_cast<int32_t>(d >> 11);
    const int32_t dg = static_cast<int32_t>((d >> 5) & 63u);
    const int32_t db = static_cast<int32_t>(d & 31u);
    const int32_t r = dr + (((static_cast<int32_t>(s >> 11) - dr) * coverage) >> 8);
    const int32_t g = dg + (((static_cast<int32_t>((s >> 5) & 63u) - dg) * coverage) >> 8);
    const int32_t b = db + (((static_cast<int32_t>(s & 31u) - db) * coverage) >> 8);
    return static_cast<uint16_t>((r << 11) | (g << 5) | b);
}

// One pixel through its mask value. 0 leaves the destination untouched, neither read nor
// written (the menu's video clip may be drawing into the same screen from its own thread);
// 255 blends with a factor of 256, which gives the source exactly without another branch.
inline void PutCovered(uint16_t& d, uint16_t s, uint8_t coverage) {
    if (coverage != 0) d = Blend565(d, s, coverage + (coverage == 255));
}

}  // namespace bitmap_rows
