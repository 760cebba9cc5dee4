#pragma once
// Drawing helpers shared by the menu controls. Every one draws into the menu's 320 x 240
// 5-6-5 screen buffer and cuts what it draws to that buffer, so a control placed partly
// off the screen shows its visible part and never writes outside.
#include <cstdint>
#include <string_view>

#include "hud/FSFont.h"
#include "resources/FSBitmap.h"

namespace menu_drawing {

inline constexpr int kWidth = 320;
inline constexpr int kHeight = 240;
inline constexpr FSSize kScreenSize{kWidth, kHeight};

// Inclusive on all four sides.
inline bool Inside(FSPoint p, int left, int top, int right, int bottom) {
    return left <= p.x && p.x <= right && top <= p.y && p.y <= bottom;
}

// The size of a picture, (0, 0) without one.
inline FSSize SizeOf(const FSBitmap* bitmap) {
    return bitmap ? FSSize{bitmap->width, bitmap->height} : FSSize{};
}

// A rectangle of image through the same rectangle of mask (plain when mask is null).
void DrawMasked(uint16_t* screen, FSPoint at, const FSBitmap* image, const FSBitmap* mask, FSPoint source,
                FSSize size, int transform);
// The whole of image through the whole of mask.
void DrawMasked(uint16_t* screen, FSPoint at, const FSBitmap* image, const FSBitmap* mask, int transform = 0);
// A rectangle of image without the pixels equal to key.
void DrawKeyed(uint16_t* screen, FSPoint at, const FSBitmap* image, FSPoint source, FSSize size,
               int transform, uint16_t key);
// One colour through a rectangle of an 8-bit mask.
void FillMasked(uint16_t* screen, FSPoint at, const FSBitmap* mask, FSSize size, uint16_t colour);
// Column (row) of image through the same column (row) of mask, repeated over length
// columns to the right (rows downwards) of at.
void StretchColumn(uint16_t* screen, FSPoint at, const FSBitmap* image, const FSBitmap* mask, int column,
                   int length);
void StretchRow(uint16_t* screen, FSPoint at, const FSBitmap* image, const FSBitmap* mask, int row,
                int length);
// Upright text, cut to clip (columns left..right - 1, rows top..bottom - 1) and the screen.
void Text(uint16_t* screen, const CFSFont* font, int justification, FSPoint at, uint16_t colour,
          std::string_view text, FSClipRect clip = {0, 0, kWidth, kHeight});

}  // namespace menu_drawing
