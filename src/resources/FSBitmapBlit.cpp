// The bitmap-level copies: they read sizes and strides from the bitmaps and hand the raw
// buffers to the rectangle copies, after checking that every rectangle lies inside the
// buffer it is read from or written to.
#include <cstdint>

#include "resources/FSBitmap.h"
#include "resources/FSBitmapRows.h"

using bitmap_rows::Blend565;
using bitmap_rows::PutCovered;
using bitmap_rows::TransformedArea;

namespace {

// A bitmap of that depth whose rows all lie in its storage.
bool HasRows(const FSBitmap* b, int32_t bitsPerPixel) {
    if (!b || b->bitsPerPixel != bitsPerPixel || b->width <= 0 || b->height <= 0) return false;
    return int64_t{b->rowBytes} * 8 >= int64_t{b->width} * bitsPerPixel &&
           int64_t{b->rowBytes} * b->height <= static_cast<int64_t>(b->storage.size() * sizeof(uint16_t));
}
bool IsPicture(const FSBitmap* b) {
    return HasRows(b, 16);
}
bool IsMask(const FSBitmap* b) {
    return HasRows(b, 8);
}

// Whether the rectangle at point lies wholly inside width x height.
bool Inside(FSPoint point, FSSize rect, int64_t width, int64_t height) {
    return point.x >= 0 && point.y >= 0 && rect.w > 0 && rect.h > 0 && int64_t{point.x} + rect.w <= width &&
           int64_t{point.y} + rect.h <= height;
}

bool InsideBitmap(const FSBitmap* b, FSPoint point, FSSize rect) {
    return Inside(point, rect, b->width, b->height);
}

// The destination's width is its stride.
bool InsideDestination(const uint16_t* destination, FSPoint point, FSSize destinationSize, FSSize area) {
    return destination && Inside(point, area, destinationSize.w, destinationSize.h);
}

FSSize WholeBitmap(const FSBitmap* b) {
    return {b->width, b->height};
}

}  // namespace

void BlitRect(uint16_t* destination, FSPoint destinationPoint, FSSize destinationSize, const FSBitmap* bitmap,
              FSPoint sourcePoint, FSSize copySize, int transform) {
    if (!IsPicture(bitmap) || !InsideBitmap(bitmap, sourcePoint, copySize)) return;
    if (!InsideDestination(destination, destinationPoint, destinationSize,
                           TransformedArea(transform, copySize))) {
        return;
    }
    CopyPixels(destination, destinationPoint, destinationSize, bitmap->Pixels(), sourcePoint,
               bitmap->BufferSize(), copySize, transform);
}

void BlitBitmap(uint16_t* destination, FSPoint destinationPoint, FSSize destinationSize,
                const FSBitmap* bitmap, int transform) {
    if (!IsPicture(bitmap)) return;
    BlitRect(destination, destinationPoint, destinationSize, bitmap, {0, 0}, WholeBitmap(bitmap), transform);
}

void BlitRectKeyed(uint16_t* destination, FSPoint destinationPoint, FSSize destinationSize,
                   const FSBitmap* bitmap, FSPoint sourcePoint, FSSize copySize, int transform,
                   uint16_t key) {
    if (!IsPicture(bitmap) || !InsideBitmap(bitmap, sourcePoint, copySize)) return;
    if (!InsideDestination(destination, destinationPoint, destinationSize,
                           TransformedArea(transform, copySize))) {
        return;
    }
    CopyPixelsKeyed(destination, destinationPoint, destinationSize, bitmap->Pixels(), sourcePoint,
                    bitmap->BufferSize(), copySize, transform, key);
}

void BlitBitmapKeyed(uint16_t* destination, FSPoint destinationPoint, FSSize destinationSize,
                     const FSBitmap* bitmap, int transform, uint16_t key) {
    if (!IsPicture(bitmap)) return;
    BlitRectKeyed(destination, destinationPoint, destinationSize, bitmap, {0, 0}, WholeBitmap(bitmap),
                  transform, key);
}

void BlitMasked(uint16_t* destination, FSPoint destinationPoint, FSSize destinationSize,
                const FSBitmap* bitmap, const FSBitmap* mask, int transform) {
    if (!IsPicture(bitmap)) return;
    BlitMaskedRect(destination, destinationPoint, destinationSize, bitmap, {0, 0}, mask, {0, 0},
                   WholeBitmap(bitmap), transform);
}

void BlitMaskedRect(uint16_t* destination, FSPoint destinationPoint, FSSize destinationSize,
                    const FSBitmap* bitmap, FSPoint sourcePoint, const FSBitmap* mask, FSPoint maskPoint,
                    FSSize copySize, int transform) {
    if (!IsPicture(bitmap) || !IsMask(mask)) return;
    if (!InsideBitmap(bitmap, sourcePoint, copySize) || !InsideBitmap(mask, maskPoint, copySize)) return;
    if (!InsideDestination(destination, destinationPoint, destinationSize,
                           TransformedArea(transform, copySize))) {
        return;
    }
    CopyPixelsMasked(destination, destinationPoint, destinationSize, bitmap->Pixels(), sourcePoint,
                     bitmap->BufferSize(), mask->Bytes(), maskPoint, mask->BufferSize(), copySize, transform);
}

void FillMaskedRect(uint16_t* destination, FSPoint destinationPoint, FSSize destinationSize,
                    const FSBitmap* mask, FSPoint maskPoint, FSSize copySize, uint16_t colour,
                    int transform) {
    if (!IsMask(mask) || !InsideBitmap(mask, maskPoint, copySize)) return;
    if (!InsideDestination(destination, destinationPoint, destinationSize,
                           TransformedArea(transform, copySize))) {
        return;
    }
    FillMasked(destination, destinationPoint, destinationSize, mask->Bytes(), maskPoint, mask->BufferSize(),
               copySize, colour, transform);
}

void StretchColumnMasked(uint16_t* destination, FSPoint point, FSSize destinationSize, const FSBitmap* bitmap,
                         int32_t column, const FSBitmap* mask, int32_t maskColumn, int32_t length) {
    if (!IsPicture(bitmap) || !IsMask(mask)) return;
    const int32_t h = bitmap->height;
    if (!InsideBitmap(bitmap, {column, 0}, {1, h}) || !InsideBitmap(mask, {maskColumn, 0}, {1, h})) return;
    if (!InsideDestination(destination, point, destinationSize, {length, h})) return;
    const ptrdiff_t stride = destinationSize.w;
    const int32_t pictureStride = bitmap->Stride();
    const int32_t maskStride = mask->Stride();
    for (int32_t r = 0; r < h; ++r) {
        const uint8_t coverage = mask->Bytes()[static_cast<ptrdiff_t>(r) * maskStride + maskColumn];
        if (coverage == 0) continue;
        const uint16_t s = bitmap->Pixels()[static_cast<ptrdiff_t>(r) * pictureStride + column];
        uint16_t* d = destination + (static_cast<ptrdiff_t>(point.y) + r) * stride + point.x;
        if (coverage == 255) {
            for (int32_t i = 0; i < length; ++i)
                d[i] = s;
        } else {
            for (int32_t i = 0; i < length; ++i)
                d[i] = Blend565(d[i], s, coverage);
        }
    }
}

void StretchRowMasked(uint16_t* destination, FSPoint point, FSSize destinationSize, const FSBitmap* bitmap,
                      int32_t row, const FSBitmap* mask, int32_t maskRow, int32_t length) {
    if (!IsPicture(bitmap) || !IsMask(mask)) return;
    const int32_t w = bitmap->width;
    if (!InsideBitmap(bitmap, {0, row}, {w, 1}) || !InsideBitmap(mask, {0, maskRow}, {w, 1})) return;
    if (!InsideDestination(destination, point, destinationSize, {w, length})) return;
    const ptrdiff_t stride = destinationSize.w;
    const uint16_t* s = bitmap->Pixels() + static_cast<ptrdiff_t>(row) * bitmap->Stride();
    const uint8_t* m = mask->Bytes() + static_cast<ptrdiff_t>(maskRow) * mask->Stride();
    for (int32_t i = 0; i < length; ++i) {
        uint16_t* d = destination + (static_cast<ptrdiff_t>(point.y) + i) * stride + point.x;
        for (int32_t c = 0; c < w; ++c)
            PutCovered(d[c], s[c], m[c]);
    }
}
