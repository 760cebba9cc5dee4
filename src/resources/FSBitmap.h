#pragma once
// 16-bit pictures and 8-bit masks for everything drawn in software (menus, cockpit,
// instruments, fonts, the loading screen), and the rectangle copies that compose them
// into 16-bit 5-6-5 frame buffers.
//
// Transform codes, for a w x h source rectangle placed at destination point (X, Y);
// source pixel (c, r) (column from the left, row from the top) goes to:
//   0 none                        (X + c,         Y + r)          area w x h
//   1 quarter turn clockwise      (X + h - 1 - r, Y + c)          area h x w
//   2 half turn                   (X + w - 1 - c, Y + h - 1 - r)  area w x h
//   3 quarter turn anticlockwise  (X + r,         Y + w - 1 - c)  area h x w
//   4 mirror left-right           (X + w - 1 - c, Y + r)          area w x h
//   5 mirror top-bottom           (X + c,         Y + h - 1 - r)  area w x h
// Any other code draws nothing.
//
// Masks: 0 transparent, 255 opaque; between, each 5-6-5 channel moves from the
// destination toward the source by mask / 256 of the difference.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct FSPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// The size of a rectangle, or of a pixel buffer as (stride in pixels, rows).
struct FSSize {
    int32_t w = 0;
    int32_t h = 0;
};

// A picture in memory with the description of the BMP it came from. Rows are stored top
// row first, each rowBytes long: a 16-bit row is padded to an even number of pixels, an
// 8-bit row to a multiple of 4 bytes.
struct FSBitmap {
    int32_t width = 0;
    int32_t height = 0;
    int32_t rowBytes = 0;
    int32_t bitsPerPixel = 0;       // 16 (5-6-5 colour) or 8 (mask or palette indices)
    std::vector<uint16_t> storage;  // rowBytes x height bytes, kept in 16-bit words
    // The file's colour table of an 8-bit picture (0x00RRGGBB). Drawing ignores it: a mask
    // uses its index values directly as coverage.
    std::vector<uint32_t> palette;

    // Row stride in pixels.
    int32_t Stride() const { return bitsPerPixel > 0 ? rowBytes * 8 / bitsPerPixel : 0; }
    FSSize BufferSize() const { return {Stride(), height}; }
    uint16_t* Pixels() { return storage.data(); }
    const uint16_t* Pixels() const { return storage.data(); }
    uint8_t* Bytes() { return reinterpret_cast<uint8_t*>(storage.data()); }
    const uint8_t* Bytes() const { return reinterpret_cast<const uint8_t*>(storage.data()); }
};

using FSBitmapHandle = std::unique_ptr<FSBitmap>;

// Reads a 16-bit or 8-bit palettised BMP from an archive member. With flip the picture
// is stored top row first whatever the file's row order (every caller wants that);
// without, bottom row first. 16-bit files in 5-5-5 layout are turned into 5-6-5. Null
// for a missing member, any other depth, compressed pixels, or a file whose header,
// palette or rows do not fit its data.
FSBitmapHandle LoadBitmap(const std::string& archivePath, const std::string& memberName, bool flip = true);
// The same from a BMP already in memory.
FSBitmapHandle DecodeBitmap(const uint8_t* bytes, size_t size, bool flip = true);

// An empty (black) 16-bit 5-6-5 picture; null for a size that is not positive.
FSBitmapHandle CreateBitmap565(int32_t width, int32_t height);

// Rectangle copies between raw buffers. A buffer's size is (stride, rows). They do not
// clip: the caller keeps the source rectangle inside the source (and the mask) and the
// transformed destination area inside the destination.
void CopyPixels(uint16_t* destination, FSPoint destinationPoint, FSSize destinationSize,
                const uint16_t* source, FSPoint sourcePoint, FSSize sourceSize, FSSize copySize,
                int transform);
// Source pixels equal to key are skipped.
void CopyPixelsKeyed(uint16_t* destination, FSPoint destinationPoint, FSSize destinationSize,
                     const uint16_t* source, FSPoint sourcePoint, FSSize sourceSize, FSSize copySize,
                     int transform, uint16_t key);
// The mask is read at the same offsets as the source, from its own point and stride.
void CopyPixelsMasked(uint16_t* destination, FSPoint destinationPoint, FSSize destinationSize,
                      const uint16_t* source, FSPoint sourcePoint, FSSize sourceSize, const uint8_t* mask,
                      FSPoint maskPoint, FSSize maskSize, FSSize copySize, int transform);
// One colour through a mask.
void FillMasked(uint16_t* destination, FSPoint destinationPoint, FSSize destinationSize, const uint8_t* mask,
                FSPoint maskPoint, FSSize maskSize, FSSize copySize, uint16_t colour, int transform);

// Bitmap-level forms. A null bitmap or mask (a picture that failed to load) draws
// nothing. Callers keep areas inside their buffers as above; these forms know every size
// involved, so a request that would read outside a bitmap or write outside the
// destination is refused (nothing drawn) rather than trusted.
void BlitRect(uint16_t* destination, FSPoint destinationPoint, FSSize destinationSize, const FSBitmap* bitmap,
              FSPoint sourcePoint, FSSize copySize, int transform);
void BlitBitmap(uint16_t* destination, FSPoint destinationPoint, FSSize destinationSize,
                const FSBitmap* bitmap, int transform);
void BlitRectKeyed(uint16_t* destination, FSPoint destinationPoint, FSSize destinationSize,
                   const FSBitmap* bitmap, FSPoint sourcePoint, FSSize copySize, int transform, uint16_t key);
void BlitBitmapKeyed(uint16_t* destination, FSPoint destinationPoint, FSSize destinationSize,
                     const FSBitmap* bitmap, int transform, uint16_t key);
// The whole bitmap through the whole mask, both from (0, 0); the mask must cover it.
void BlitMasked(uint16_t* destination, FSPoint destinationPoint, FSSize destinationSize,
                const FSBitmap* bitmap, const FSBitmap* mask, int transform);
void BlitMaskedRect(uint16_t* destination, FSPoint destinationPoint, FSSize destinationSize,
                    const FSBitmap* bitmap, FSPoint sourcePoint, const FSBitmap* mask, FSPoint maskPoint,
                    FSSize copySize, int transform);
// A colour through a rectangle of a mask (single-colour fonts).
void FillMaskedRect(uint16_t* destination, FSPoint destinationPoint, FSSize destinationSize,
                    const FSBitmap* mask, FSPoint maskPoint, FSSize copySize, uint16_t colour, int transform);
// One column of a bitmap through the same-height column of a mask, repeated over length
// columns to the right of point (sliders, scroll bars).
void StretchColumnMasked(uint16_t* destination, FSPoint point, FSSize destinationSize, const FSBitmap* bitmap,
                         int32_t column, const FSBitmap* mask, int32_t maskColumn, int32_t length);
// One row of a bitmap through a row of a mask, repeated over length rows downwards.
void StretchRowMasked(uint16_t* destination, FSPoint point, FSSize destinationSize, const FSBitmap* bitmap,
                      int32_t row, const FSBitmap* mask, int32_t maskRow, int32_t length);
