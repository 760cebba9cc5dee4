// The rectangle copies, their six transforms, masks, and the bitmap-level forms' refusal
// to draw outside the buffers.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "resources/FSBitmap.h"
#include "support/TestSupport.h"

using testing_support::Blue5;
using testing_support::Green6;
using testing_support::Red5;

namespace {

constexpr uint16_t kUntouched = 0x1234;

// A w x h 16-bit bitmap whose pixel (c, r) is 100 * r + c + 1 (never 0 and never kUntouched).
FSBitmapHandle Numbered(int w, int h) {
    FSBitmapHandle b = CreateBitmap565(w, h);
    for (int r = 0; r < h; ++r) {
        for (int c = 0; c < w; ++c)
            b->Pixels()[r * b->Stride() + c] = static_cast<uint16_t>(100 * r + c + 1);
    }
    return b;
}

// An 8-bit mask of w x h with every value set to coverage.
FSBitmapHandle Mask(int w, int h, uint8_t coverage) {
    auto m = std::make_unique<FSBitmap>();
    m->width = w;
    m->height = h;
    m->bitsPerPixel = 8;
    m->rowBytes = (w + 3) & ~3;
    m->storage.assign(static_cast<size_t>(m->rowBytes * h + 1) / 2, 0);
    for (int r = 0; r < h; ++r) {
        for (int c = 0; c < w; ++c)
            m->Bytes()[r * m->rowBytes + c] = coverage;
    }
    return m;
}

struct Screen {
    Screen(int w, int h) : size{w, h}, pixels(static_cast<size_t>(w * h), kUntouched) {}
    uint16_t& At(int x, int y) { return pixels[static_cast<size_t>(y * size.w + x)]; }
    int Touched() const {
        int n = 0;
        for (uint16_t p : pixels)
            n += p != kUntouched;
        return n;
    }
    FSSize size;
    std::vector<uint16_t> pixels;
};

// Where the transform table sends source pixel (c, r) of a w x h rectangle placed at (x, y).
FSPoint TableDestination(int transform, int x, int y, int w, int h, int c, int r) {
    switch (transform) {
        case 0:
            return {x + c, y + r};
        case 1:
            return {x + h - 1 - r, y + c};
        case 2:
            return {x + w - 1 - c, y + h - 1 - r};
        case 3:
            return {x + r, y + w - 1 - c};
        case 4:
            return {x + w - 1 - c, y + r};
        default:
            return {x + c, y + h - 1 - r};
    }
}

TEST(BitmapCopy, EveryTransformPlacesEveryPixelAsTheTableSaysAndNothingElse) {
    // A 3 x 2 rectangle taken from (1, 1) of a 6 x 4 source with a stride of 6.
    FSBitmapHandle source = Numbered(6, 4);
    const int w = 3, h = 2, x = 5, y = 7;
    for (int transform = 0; transform < 6; ++transform) {
        SCOPED_TRACE(transform);
        Screen plain(16, 16), keyed(16, 16), masked(16, 16);
        CopyPixels(plain.pixels.data(), {x, y}, plain.size, source->Pixels(), {1, 1}, source->BufferSize(),
                   {w, h}, transform);
        CopyPixelsKeyed(keyed.pixels.data(), {x, y}, keyed.size, source->Pixels(), {1, 1},
                        source->BufferSize(), {w, h}, transform, 0);
        FSBitmapHandle opaque = Mask(8, 8, 255);
        CopyPixelsMasked(masked.pixels.data(), {x, y}, masked.size, source->Pixels(), {1, 1},
                         source->BufferSize(), opaque->Bytes(), {2, 3}, opaque->BufferSize(), {w, h},
                         transform);
        for (int r = 0; r < h; ++r) {
            for (int c = 0; c < w; ++c) {
                const FSPoint d = TableDestination(transform, x, y, w, h, c, r);
                const uint16_t expected = static_cast<uint16_t>(100 * (r + 1) + (c + 1) + 1);
                EXPECT_EQ(plain.At(d.x, d.y), expected) << c << "," << r;
                EXPECT_EQ(keyed.At(d.x, d.y), expected) << c << "," << r;
                EXPECT_EQ(masked.At(d.x, d.y), expected) << c << "," << r;
            }
        }
        EXPECT_EQ(plain.Touched(), w * h);
        EXPECT_EQ(keyed.Touched(), w * h);
        EXPECT_EQ(masked.Touched(), w * h);
    }
    Screen screen(16, 16);
    for (int transform : {-1, 6, 99}) {
        CopyPixels(screen.pixels.data(), {0, 0}, screen.size, source->Pixels(), {0, 0}, source->BufferSize(),
                   {2, 2}, transform);
    }
    CopyPixels(screen.pixels.data(), {0, 0}, screen.size, source->Pixels(), {0, 0}, source->BufferSize(),
               {0, 2}, 0);
    EXPECT_EQ(screen.Touched(), 0);
}

TEST(BitmapCopy, KeyedCopiesSkipTheKeyColour) {
    const uint16_t source[4] = {0xF800, 0x0000, 0x0000, 0x001F};
    Screen screen(4, 4);
    CopyPixelsKeyed(screen.pixels.data(), {1, 1}, screen.size, source, {0, 0}, {2, 2}, {2, 2}, 2, 0x0000);
    EXPECT_EQ(screen.At(2, 2), 0xF800);  // half turn: (0, 0) lands bottom right
    EXPECT_EQ(screen.At(1, 1), 0x001F);
    EXPECT_EQ(screen.At(1, 2), kUntouched);
    EXPECT_EQ(screen.At(2, 1), kUntouched);
}

TEST(BitmapCopy, MaskValuesBlendEachChannelTowardTheSource) {
    const uint16_t white[1] = {0xFFFF};
    const uint16_t black[1] = {0x0000};
    auto blend = [](uint16_t destination, const uint16_t* source, uint8_t coverage) {
        uint16_t pixel = destination;
        CopyPixelsMasked(&pixel, {0, 0}, {1, 1}, source, {0, 0}, {1, 1}, &coverage, {0, 0}, {1, 1}, {1, 1},
                         0);
        return pixel;
    };
    auto channels = [](uint16_t p) { return std::make_tuple(Red5(p), Green6(p), Blue5(p)); };
    EXPECT_EQ(channels(blend(0x0000, white, 128)), std::make_tuple(15, 31, 15));
    // Downwards the difference is negative and its shift rounds down.
    EXPECT_EQ(channels(blend(0xFFFF, black, 128)), std::make_tuple(15, 31, 15));
    EXPECT_EQ(blend(0xABCD, white, 0), 0xABCD);
    EXPECT_EQ(blend(0xABCD, black, 255), 0x0000);
    const uint16_t almost = blend(0x0000, white, 254);
    EXPECT_EQ(Red5(almost), 30);
    EXPECT_EQ(Green6(almost), 62);
    // Every coverage keeps every channel between destination and source.
    for (int coverage = 0; coverage < 256; ++coverage) {
        const uint16_t p = blend(0x07E0, white + 0, static_cast<uint8_t>(coverage));
        EXPECT_EQ(Green6(p), 63);
        EXPECT_LE(Red5(p), 31);
        const uint16_t q = blend(0xF81F, black, static_cast<uint8_t>(coverage));
        EXPECT_EQ(Green6(q), 0);
        EXPECT_GE(Red5(q), 0);
    }
}

TEST(BitmapCopy, MasksAreReadAtTheSourcesOffsetsAndTurnWithIt) {
    // Left column opaque, right column transparent, drawn with a quarter turn clockwise:
    // the left column becomes the top row.
    FSBitmapHandle source = Numbered(2, 2);
    FSBitmapHandle mask = Mask(2, 2, 255);
    mask->Bytes()[1] = 0;
    mask->Bytes()[mask->rowBytes + 1] = 0;
    Screen screen(4, 4);
    CopyPixelsMasked(screen.pixels.data(), {1, 1}, screen.size, source->Pixels(), {0, 0},
                     source->BufferSize(), mask->Bytes(), {0, 0}, mask->BufferSize(), {2, 2}, 1);
    EXPECT_EQ(screen.At(2, 1), 1);    // (0, 0)
    EXPECT_EQ(screen.At(1, 1), 101);  // (0, 1)
    EXPECT_EQ(screen.At(1, 2), kUntouched);
    EXPECT_EQ(screen.At(2, 2), kUntouched);

    Screen filled(4, 4);
    FillMasked(filled.pixels.data(), {0, 0}, filled.size, mask->Bytes(), {0, 0}, mask->BufferSize(), {2, 2},
               0x07E0, 5);
    EXPECT_EQ(filled.At(0, 0), 0x07E0);
    EXPECT_EQ(filled.At(0, 1), 0x07E0);
    EXPECT_EQ(filled.At(1, 0), kUntouched);
    EXPECT_EQ(filled.Touched(), 2);
}

TEST(BitmapBlit, DrawsWholeBitmapsAndRectangles) {
    FSBitmapHandle picture = Numbered(3, 2);
    Screen screen(8, 8);
    BlitBitmap(screen.pixels.data(), {5, 6}, screen.size, picture.get(), 0);  // exactly to the corner
    EXPECT_EQ(screen.At(5, 6), 1);
    EXPECT_EQ(screen.At(7, 7), 103);
    EXPECT_EQ(screen.Touched(), 6);
    Screen turned(8, 8);
    BlitRect(turned.pixels.data(), {0, 0}, turned.size, picture.get(), {1, 0}, {2, 2}, 1);
    EXPECT_EQ(turned.At(1, 0), 2);  // (1, 0) of the picture is the rectangle's (0, 0)
    EXPECT_EQ(turned.At(0, 1), 103);
    Screen keyed(8, 8);
    BlitBitmapKeyed(keyed.pixels.data(), {0, 0}, keyed.size, picture.get(), 0, 2);
    EXPECT_EQ(keyed.At(1, 0), kUntouched);
    EXPECT_EQ(keyed.Touched(), 5);
    Screen masked(8, 8);
    FSBitmapHandle half = Mask(3, 2, 128);
    BlitMasked(masked.pixels.data(), {0, 0}, masked.size, picture.get(), half.get(), 4);
    EXPECT_EQ(masked.Touched(), 6);
    Screen font(8, 8);
    BlitMaskedRect(font.pixels.data(), {1, 1}, font.size, picture.get(), {1, 1}, half.get(), {0, 0}, {2, 1},
                   0);
    FillMaskedRect(font.pixels.data(), {4, 4}, font.size, half.get(), {1, 0}, {2, 2}, 0xFFFF, 0);
    EXPECT_EQ(font.Touched(), 2 + 4);
}

TEST(BitmapBlit, RefusesAreasOutsideTheBuffersAndMissingPictures) {
    FSBitmapHandle picture = Numbered(3, 2);
    FSBitmapHandle mask = Mask(3, 2, 255);
    FSBitmapHandle smallMask = Mask(2, 2, 255);
    Screen screen(8, 8);
    uint16_t* d = screen.pixels.data();
    BlitBitmap(d, {6, 0}, screen.size, picture.get(), 0);  // one column too far right
    BlitBitmap(d, {0, 7}, screen.size, picture.get(), 0);  // one row too low
    BlitBitmap(d, {-1, 0}, screen.size, picture.get(), 0);
    BlitBitmap(d, {0, 6}, screen.size, picture.get(), 1);                // turned, it is 3 rows tall
    BlitRect(d, {0, 0}, screen.size, picture.get(), {2, 0}, {2, 2}, 0);  // reads past the picture
    BlitRect(d, {0, 0}, screen.size, picture.get(), {0, -1}, {2, 2}, 0);
    BlitRectKeyed(d, {7, 7}, screen.size, picture.get(), {0, 0}, {2, 1}, 0, 0);
    BlitBitmapKeyed(d, {0, 0}, {8, 1}, picture.get(), 0, 0);
    BlitMasked(d, {0, 0}, screen.size, picture.get(), smallMask.get(), 0);  // the mask does not cover it
    BlitMasked(d, {0, 0}, screen.size, picture.get(), picture.get(), 0);    // a picture is no mask
    BlitMasked(d, {0, 0}, screen.size, mask.get(), mask.get(), 0);          // nor a mask a picture
    BlitMaskedRect(d, {0, 0}, screen.size, picture.get(), {0, 0}, mask.get(), {2, 0}, {2, 2}, 0);
    FillMaskedRect(d, {7, 0}, screen.size, mask.get(), {0, 0}, {2, 2}, 0, 0);
    FillMaskedRect(d, {0, 0}, screen.size, mask.get(), {0, 1}, {2, 2}, 0, 0);
    StretchColumnMasked(d, {0, 0}, screen.size, picture.get(), 3, mask.get(), 0, 4);
    StretchColumnMasked(d, {0, 0}, screen.size, picture.get(), 0, mask.get(), 0, 9);
    StretchRowMasked(d, {0, 0}, screen.size, picture.get(), 2, mask.get(), 0, 4);
    StretchRowMasked(d, {0, 5}, screen.size, picture.get(), 0, mask.get(), 0, 4);
    // Pictures that failed to load draw nothing.
    BlitBitmap(d, {0, 0}, screen.size, nullptr, 0);
    BlitMasked(d, {0, 0}, screen.size, picture.get(), nullptr, 0);
    FillMaskedRect(d, {0, 0}, screen.size, nullptr, {0, 0}, {1, 1}, 0, 0);
    StretchRowMasked(d, {0, 0}, screen.size, nullptr, 0, mask.get(), 0, 4);
    BlitBitmap(nullptr, {0, 0}, screen.size, picture.get(), 0);
    // A bitmap whose description claims more rows than it holds is no picture.
    FSBitmapHandle lying = Numbered(3, 2);
    lying->height = 40;
    BlitBitmap(d, {0, 0}, {64, 64}, lying.get(), 0);
    EXPECT_EQ(screen.Touched(), 0);
}

TEST(BitmapBlit, StretchesAColumnToTheRightAndARowDownwards) {
    FSBitmapHandle picture = Numbered(3, 2);
    FSBitmapHandle mask = Mask(3, 2, 255);
    mask->Bytes()[mask->rowBytes + 2] = 0;  // (2, 1) transparent
    Screen screen(8, 8);
    StretchColumnMasked(screen.pixels.data(), {1, 1}, screen.size, picture.get(), 2, mask.get(), 2, 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(screen.At(1 + i, 1), 3);
        EXPECT_EQ(screen.At(1 + i, 2), kUntouched);
    }
    EXPECT_EQ(screen.Touched(), 5);
    Screen rows(8, 8);
    StretchRowMasked(rows.pixels.data(), {2, 3}, rows.size, picture.get(), 1, mask.get(), 1, 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(rows.At(2, 3 + i), 101);
        EXPECT_EQ(rows.At(3, 3 + i), 102);
        EXPECT_EQ(rows.At(4, 3 + i), kUntouched);
    }
    EXPECT_EQ(rows.Touched(), 8);
    // A partial mask value blends along the whole length.
    FSBitmapHandle white = CreateBitmap565(1, 1);
    white->Pixels()[0] = 0xFFFF;
    FSBitmapHandle half = Mask(1, 1, 128);
    Screen black(4, 1);
    std::fill(black.pixels.begin(), black.pixels.end(), 0);
    StretchColumnMasked(black.pixels.data(), {0, 0}, black.size, white.get(), 0, half.get(), 0, 4);
    for (uint16_t p : black.pixels)
        EXPECT_EQ(Red5(p), 15);
}

}  // namespace
