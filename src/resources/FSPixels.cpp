#include "resources/FSPixels.h"

#include <cstring>

void ConvertTo565(uint16_t* destination, const uint32_t* source, int count) {
    // Pairs only (an odd last pixel is left as it was), sixteen at a time: a loop of fixed
    // length the compiler turns into vector code, then the rest one by one.
    const int even = count / 2 * 2;
    constexpr int kRun = 16;
    int i = 0;
    for (; i + kRun <= even; i += kRun)
        for (int k = 0; k < kRun; ++k)
            destination[i + k] = Pack565(source[i + k]);
    for (; i < even; ++i)
        destination[i] = Pack565(source[i]);
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

void ConvertTo565(uint16_t* destination, FSPoint destinationPoint, int32_t destinationStride,
                  const uint32_t* source, FSPoint sourcePoint, int32_t sourceStride, FSSize size) {
    if (!destination || !source || size.w <= 0 || size.h <= 0) return;
    for (int32_t r = 0; r < size.h; ++r) {
        uint16_t* out = destination + (static_cast<ptrdiff_t>(destinationPoint.y) + r) * destinationStride +
                        destinationPoint.x;
        const uint32_t* in =
            source + (static_cast<ptrdiff_t>(sourcePoint.y) + r) * sourceStride + sourcePoint.x;
        ConvertTo565(out, in, size.w);
        if (size.w % 2 != 0) out[size.w - 1] = Pack565(in[size.w - 1]);
    }
}

void DarkenPixels(uint16_t* destination, const uint16_t* source, int count, float factor) {
    if (!destination || !source || count < 2) return;
    // k / 256 is the factor; clamping keeps every scaled channel inside its own bit field.
    const float clamped = factor > 1.0f ? 1.0f : (factor > 0.0f ? factor : 0.0f);
    const uint32_t k = static_cast<uint32_t>(clamped * 256.0f);
    const int pairs = count / 2;
    for (int i = 0; i < pairs; ++i) {
        uint32_t word;
        std::memcpy(&word, source + 2 * i, sizeof word);
        // Red, green and blue of both pixels; a product needs at most 8 more bits than its
        // field, so each one is scaled in 64 bits and shifted back in place.
        const uint64_t red = ((uint64_t{word & 0xF800F800u} * k) >> 8) & 0xF800F800u;
        const uint64_t green = ((uint64_t{word & 0x07E007E0u} * k) >> 8) & 0x07E007E0u;
        const uint64_t blue = ((uint64_t{word & 0x001F001Fu} * k) >> 8) & 0x001F001Fu;
        const uint32_t out = static_cast<uint32_t>(red | green | blue);
        std::memcpy(destination + 2 * i, &out, sizeof out);
    }
}

void RotateScreen(uint16_t* destination, const uint16_t* source, int width, int height) {
    if (!destination || !source || width <= 0 || height <= 0) return;
    if (width % 2 != 0 || height % 2 != 0) {
        CopyPixels(destination, {0, 0}, {height, width}, source, {0, 0}, {width, height}, {width, height}, 3);
        return;
    }
    // 2 x 2 blocks: source rows r, r + 1 at columns c, c + 1 become two 32-bit words, in
    // destination rows width - 1 - c and width - 2 - c at column r.
    for (int r = 0; r < height; r += 2) {
        const uint16_t* upper = source + static_cast<ptrdiff_t>(r) * width;
        const uint16_t* lower = upper + width;
        for (int c = 0; c < width; c += 2) {
            const uint32_t first = uint32_t{upper[c]} | (uint32_t{lower[c]} << 16);
            const uint32_t second = uint32_t{upper[c + 1]} | (uint32_t{lower[c + 1]} << 16);
            std::memcpy(destination + static_cast<ptrdiff_t>(width - 1 - c) * height + r, &first,
                        sizeof first);
            std::memcpy(destination + static_cast<ptrdiff_t>(width - 2 - c) * height + r, &second,
                        sizeof second);
        }
    }
}
