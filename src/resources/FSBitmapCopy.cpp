// Rectangle copies between raw 16-bit buffers, with the six transforms: plain, keyed,
// through a mask, and one colour through a mask. Each works row by row on raw pointers;
// the plain copy moves whole rows when the transform keeps them in order.
#include <cstring>

#include "resources/FSBitmap.h"
#include "resources/FSBitmapRows.h"

using bitmap_rows::Placement;
using bitmap_rows::PlaceRows;
using bitmap_rows::PutCovered;

namespace {

// Offset of the first pixel of row r of a rectangle at point in a buffer of that stride.
inline ptrdiff_t RowStart(FSPoint point, int32_t stride, int32_t r) {
    return (static_cast<ptrdiff_t>(point.y) + r) * stride + point.x;
}

}  // namespace

void CopyPixels(uint16_t* destination, FSPoint destinationPoint, FSSize destinationSize,
                const uint16_t* source, FSPoint sourcePoint, FSSize sourceSize, FSSize copySize,
                int transform) {
    Placement at;
    if (!destination || !source || !PlaceRows(transform, destinationPoint, destinationSize.w, copySize, at))
        return;
    const int32_t w = copySize.w;
    for (int32_t r = 0; r < copySize.h; ++r) {
        const uint16_t* s = source + RowStart(sourcePoint, sourceSize.w, r);
        uint16_t* d = destination + (at.first + r * at.rowStep);
        if (at.step == 1) {
            std::memcpy(d, s, sizeof(uint16_t) * static_cast<size_t>(w));
        } else {
            for (int32_t c = 0; c < w; ++c)
                d[c * at.step] = s[c];
        }
    }
}

void CopyPixelsKeyed(uint16_t* destination, FSPoint destinationPoint, FSSize destinationSize,
                     const uint16_t* source, FSPoint sourcePoint, FSSize sourceSize, FSSize copySize,
                     int transform, uint16_t key) {
    Placement at;
    if (!destination || !source || !PlaceRows(transform, destinationPoint, destinationSize.w, copySize, at))
        return;
    const int32_t w = copySize.w;
    for (int32_t r = 0; r < copySize.h; ++r) {
        const uint16_t* s = source + RowStart(sourcePoint, sourceSize.w, r);
        uint16_t* d = destination + (at.first + r * at.rowStep);
        for (int32_t c = 0; c < w; ++c) {
            const uint16_t p = s[c];
            if (p != key) d[c * at.step] = p;
        }
    }
}

void CopyPixelsMasked(uint16_t* destination, FSPoint destinationPoint, FSSize destinationSize,
                      const uint16_t* source, FSPoint sourcePoint, FSSize sourceSize, const uint8_t* mask,
                      FSPoint maskPoint, FSSize maskSize, FSSize copySize, int transform) {
    Placement at;
    if (!destination || !source || !mask ||
        !PlaceRows(transform, destinationPoint, destinationSize.w, copySize, at)) {
        return;
    }
    const int32_t w = copySize.w;
    for (int32_t r = 0; r < copySize.h; ++r) {
        const uint16_t* s = source + RowStart(sourcePoint, sourceSize.w, r);
        const uint8_t* m = mask + RowStart(maskPoint, maskSize.w, r);
        uint16_t* d = destination + (at.first + r * at.rowStep);
        if (at.step == 1) {
            for (int32_t c = 0; c < w; ++c)
                PutCovered(d[c], s[c], m[c]);  // vectorises
        } else {
            for (int32_t c = 0; c < w; ++c)
                PutCovered(d[c * at.step], s[c], m[c]);
        }
    }
}

void FillMasked(uint16_t* destination, FSPoint destinationPoint, FSSize destinationSize, const uint8_t* mask,
                FSPoint maskPoint, FSSize maskSize, FSSize copySize, uint16_t colour, int transform) {
    Placement at;
    if (!destination || !mask || !PlaceRows(transform, destinationPoint, destinationSize.w, copySize, at))
        return;
    const int32_t w = copySize.w;
    for (int32_t r = 0; r < copySize.h; ++r) {
        const uint8_t* m = mask + RowStart(maskPoint, maskSize.w, r);
        uint16_t* d = destination + (at.first + r * at.rowStep);
        for (int32_t c = 0; c < w; ++c)
            PutCovered(d[c * at.step], colour, m[c]);
    }
}
