// The rectangle copies, their six transforms, keys and masks, and the bitmap-level forms'
// refusal to draw outside the buffers.
#include <gtest/gtest.h>

#include <algorithm>
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

// An 8-bit mask of w x h, rows padded to four bytes, with every value set to coverage.
FSBitmapHandle Mask(int w, int h, uint8_t coverage) {
    auto m = std::make_unique<FSBitmap>();
    m->width = w;
    m->height = h;
    m->bitsPerPixel = 8;
    m->rowBytes = (w + 3) & ~3;
    m->storage.assign(static_cast<size_t>(m->rowBytes * h + 1) / 2, static_cast<uint16_t>(coverage * 0x101));
    return m;
}

struct Screen {
    Screen(int w, int h) : size{w, h}, pixels(static_cast<size_t>(w * h), kUntouched) {}
    uint16_t& At(int x, int y) { return pixels[static_cast<size_t>(y * size.w + x)]; }
    int Touched() const {
        return static_cast<int>(pixels.size() - std::count(pixels.begin(), pixels.end(), kUntouched));
    }
    FSSize size;
    std::vector<uint16_t> pixels;
};

// Where each transform puts pixel (c, r) of a w x h rectangle, from the rectangle's corner.
FSPoint Turned(int transform, int w, int h, int c, int r) {
    const FSPoint to[6] = {{c, r},         {h - 1 - r, c}, {w - 1 - c, h - 1 - r},
                           {r, w - 1 - c}, {w - 1 - c, r}, {c, h - 1 - r}};
    return to[transform];
}

TEST(BitmapCopy, EveryTransformPlacesEveryPixelKeyAndMaskAsTheTableSaysAndNothingElse) {
    // A 3 x 2 rectangle taken from (1, 1) of a 6 x 4 source with a stride of 6, through the
    // mask from (2, 3), whose every third value is transparent.
    FSBitmapHandle source = Numbered(6, 4);
    FSBitmapHandle mask = Mask(8, 8, 255);
    for (int i = 0; i < 64; i += 3)
        mask->Bytes()[i] = 0;
    const int w = 3, h = 2, x = 5, y = 7;
    const uint16_t key = 203;  // the rectangle's (1, 1)
    for (int transform = 0; transform < 6; ++transform) {
        SCOPED_TRACE(transform);
        Screen plain(16, 16), keyed(16, 16), masked(16, 16), filled(16, 16);
        CopyPixels(plain.pixels.data(), {x, y}, plain.size, source->Pixels(), {1, 1}, source->BufferSize(),
                   {w, h}, transform);
        CopyPixelsKeyed(keyed.pixels.data(), {x, y}, keyed.size, source->Pixels(), {1, 1},
                        source->BufferSize(), {w, h}, transform, key);
        CopyPixelsMasked(masked.pixels.data(), {x, y}, masked.size, source->Pixels(), {1, 1},
                         source->BufferSize(), mask->Bytes(), {2, 3}, mask->BufferSize(), {w, h}, transform);
        FillMasked(filled.pixels.data(), {x, y}, filled.size, mask->Bytes(), {2, 3}, mask->BufferSize(),
                   {w, h}, 0x07E0, transform);
        int opaque = 0;
        for (int r = 0; r < h; ++r) {
            for (int c = 0; c < w; ++c) {
                const FSPoint d = Turned(transform, w, h, c, r);
                const uint16_t expected = static_cast<uint16_t>(100 * (r + 1) + (c + 1) + 1);
                const bool shows = mask->Bytes()[(3 + r) * 8 + 2 + c] != 0;
                opaque += shows;
                EXPECT_EQ(plain.At(x + d.x, y + d.y), expected) << c << "," << r;
                EXPECT_EQ(keyed.At(x + d.x, y + d.y), expected == key ? kUntouched : expected)
                    << c << "," << r;
                EXPECT_EQ(masked.At(x + d.x, y + d.y), shows ? expected : kUntouched) << c << "," << r;
                EXPECT_EQ(filled.At(x + d.x, y + d.y), shows ? 0x07E0 : kUntouched) << c << "," << r;
            }
        }
        EXPECT_EQ(plain.Touched(), w * h);
        EXPECT_EQ(keyed.Touched(), w * h - 1);
        EXPECT_EQ(masked.Touched(), opaque);
        EXPECT_EQ(filled.Touched(), opaque);
        EXPECT_GT(opaque, 0);
        EXPECT_LT(opaque, w * h);
    }
    Screen screen(16, 16);
    for (int transform : {-1, 6, 99})
        CopyPixels(screen.pixels.data(), {0, 0}, screen.size, source->Pixels(), {0, 0}, source->BufferSize(),
                   {2, 2}, transform);
    CopyPixels(screen.pixels.data(), {0, 0}, screen.size, source->Pixels(), {0, 0}, source->BufferSize(),
               {0, 2}, 0);
    EXPECT_EQ(screen.Touched(), 0);
}

TEST(BitmapCopy, MaskValuesBlendEachChannelTowardTheSource) {
    auto blend = [](uint16_t destination, uint16_t source, uint8_t coverage) {
        CopyPixelsMasked(&destination, {0, 0}, {1, 1}, &source, {0, 0}, {1, 1}, &coverage, {0, 0}, {1, 1},
                         {1, 1}, 0);
        return std::make_tuple(Red5(destination), Green6(destination), Blue5(destination));
    };
    EXPECT_EQ(blend(0x0000, 0xFFFF, 128), std::make_tuple(15, 31, 15));
    EXPECT_EQ(blend(0xFFFF, 0x0000, 128), std::make_tuple(15, 31, 15));  // downwards the shift rounds down
    EXPECT_EQ(blend(0x0000, 0xFFFF, 254), std::make_tuple(30, 62, 30));
    EXPECT_EQ(blend(0xABCD, 0xFFFF, 0), std::make_tuple(0xABCD >> 11, (0xABCD >> 5) & 63, 0xABCD & 31));
    EXPECT_EQ(blend(0xABCD, 0x0000, 255), std::make_tuple(0, 0, 0));
    // Every coverage keeps a channel that destination and source share.
    for (int coverage = 0; coverage < 256; ++coverage) {
        EXPECT_EQ(std::get<1>(blend(0x07E0, 0xFFFF, static_cast<uint8_t>(coverage))), 63);
        EXPECT_EQ(std::get<1>(blend(0xF81F, 0x0000, static_cast<uint8_t>(coverage))), 0);
    }
}

TEST(BitmapBlit, DrawsWholeBitmapsAndRectanglesThroughKeysAndMasks) {
    FSBitmapHandle picture = Numbered(3, 2);
    FSBitmapHandle half = Mask(3, 2, 128);
    Screen whole(8, 8), turned(8, 8), keyed(8, 8), masked(8, 8), font(8, 8);
    BlitBitmap(whole.pixels.data(), {5, 6}, whole.size, picture.get(), 0);  // exactly to the corner
    EXPECT_EQ(std::make_tuple(whole.At(5, 6), whole.At(7, 7), whole.Touched()), std::make_tuple(1, 103, 6));
    // (1, 0) of the picture is the rectangle's (0, 0), turned a quarter clockwise.
    BlitRect(turned.pixels.data(), {0, 0}, turned.size, picture.get(), {1, 0}, {2, 2}, 1);
    EXPECT_EQ(std::make_tuple(turned.At(1, 0), turned.At(0, 1), turned.Touched()),
              std::make_tuple(2, 103, 4));
    BlitBitmapKeyed(keyed.pixels.data(), {0, 0}, keyed.size, picture.get(), 0, 2);
    EXPECT_EQ(std::make_tuple(keyed.At(1, 0), keyed.Touched()), std::make_tuple(kUntouched, 5));
    BlitMasked(masked.pixels.data(), {0, 0}, masked.size, picture.get(), half.get(), 4);
    EXPECT_EQ(masked.Touched(), 6);
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
    picture->height = 40;
    BlitBitmap(d, {0, 0}, {64, 64}, picture.get(), 0);
    EXPECT_EQ(screen.Touched(), 0);
}

TEST(BitmapBlit, StretchesAColumnToTheRightAndARowDownwards) {
    FSBitmapHandle picture = Numbered(3, 2);
    FSBitmapHandle mask = Mask(3, 2, 255);
    mask->Bytes()[mask->rowBytes + 2] = 0;  // (2, 1) transparent
    Screen columns(8, 8), rows(8, 8);
    StretchColumnMasked(columns.pixels.data(), {1, 1}, columns.size, picture.get(), 2, mask.get(), 2, 5);
    StretchRowMasked(rows.pixels.data(), {2, 3}, rows.size, picture.get(), 1, mask.get(), 1, 4);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(columns.At(1 + i, 1), 3);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(std::make_tuple(rows.At(2, 3 + i), rows.At(3, 3 + i)), std::make_tuple(101, 102));
    EXPECT_EQ(columns.Touched(), 5);
    EXPECT_EQ(rows.Touched(), 8);
    // A partial mask value blends along the whole length.
    FSBitmapHandle white = CreateBitmap565(1, 1);
    white->Pixels()[0] = 0xFFFF;
    FSBitmapHandle half = Mask(1, 1, 128);
    std::vector<uint16_t> black(4, 0);
    StretchColumnMasked(black.data(), {0, 0}, {4, 1}, white.get(), 0, half.get(), 0, 4);
    for (uint16_t p : black)
        EXPECT_EQ(Red5(p), 15);
}

}  // namespace
