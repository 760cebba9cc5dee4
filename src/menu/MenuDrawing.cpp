#include "menu/MenuDrawing.h"

#include <algorithm>

namespace menu_drawing {

namespace {

// A copy of a w x h source rectangle with a transform, cut to the screen: the part of the
// source whose pixels land on the screen and where its corner goes.
struct Clipped {
    FSPoint at;
    FSPoint source;
    FSSize size;
    bool empty = true;
};

Clipped Clip(FSPoint at, FSPoint source, FSSize size, int transform) {
    const bool turned = transform == 1 || transform == 3;
    const int dw = turned ? size.h : size.w, dh = turned ? size.w : size.h;
    const int cutLeft = std::max(0, -at.x), cutRight = std::max(0, at.x + dw - kWidth);
    const int cutTop = std::max(0, -at.y), cutBottom = std::max(0, at.y + dh - kHeight);
    // Which side of the source each side of the destination comes from.
    int l = 0, r = 0, t = 0, b = 0;
    switch (transform) {
        case 0:
            l = cutLeft, r = cutRight, t = cutTop, b = cutBottom;
            break;
        case 1:
            b = cutLeft, t = cutRight, l = cutTop, r = cutBottom;
            break;
        case 2:
            r = cutLeft, l = cutRight, b = cutTop, t = cutBottom;
            break;
        case 3:
            t = cutLeft, b = cutRight, r = cutTop, l = cutBottom;
            break;
        case 4:
            r = cutLeft, l = cutRight, t = cutTop, b = cutBottom;
            break;
        case 5:
            l = cutLeft, r = cutRight, b = cutTop, t = cutBottom;
            break;
        default:
            return {};
    }
    Clipped c{
        {at.x + cutLeft, at.y + cutTop}, {source.x + l, source.y + t}, {size.w - l - r, size.h - t - b}};
    c.empty = c.size.w <= 0 || c.size.h <= 0;
    return c;
}

}  // namespace

void DrawMasked(uint16_t* screen, FSPoint at, const FSBitmap* image, const FSBitmap* mask, FSPoint source,
                FSSize size, int transform) {
    const Clipped c = Clip(at, source, size, transform);
    if (c.empty || !screen) return;
    if (mask) {
        BlitMaskedRect(screen, c.at, kScreenSize, image, c.source, mask, c.source, c.size, transform);
    } else {
        BlitRect(screen, c.at, kScreenSize, image, c.source, c.size, transform);
    }
}

void DrawMasked(uint16_t* screen, FSPoint at, const FSBitmap* image, const FSBitmap* mask, int transform) {
    DrawMasked(screen, at, image, mask, {0, 0}, SizeOf(image), transform);
}

void DrawKeyed(uint16_t* screen, FSPoint at, const FSBitmap* image, FSPoint source, FSSize size,
               int transform, uint16_t key) {
    const Clipped c = Clip(at, source, size, transform);
    if (c.empty || !screen) return;
    BlitRectKeyed(screen, c.at, kScreenSize, image, c.source, c.size, transform, key);
}

void FillMasked(uint16_t* screen, FSPoint at, const FSBitmap* mask, FSSize size, uint16_t colour) {
    const Clipped c = Clip(at, {0, 0}, size, 0);
    if (c.empty || !screen) return;
    FillMaskedRect(screen, c.at, kScreenSize, mask, c.source, c.size, colour, 0);
}

void StretchColumn(uint16_t* screen, FSPoint at, const FSBitmap* image, const FSBitmap* mask, int column,
                   int length) {
    if (!screen || !image || !mask) return;
    const int x0 = std::max(at.x, 0), x1 = std::min(at.x + length, kWidth);
    const int y0 = std::max(at.y, 0), y1 = std::min(at.y + image->height, kHeight);
    if (x1 <= x0 || y1 <= y0) return;
    if (y0 == at.y && y1 == at.y + image->height) {
        StretchColumnMasked(screen, {x0, at.y}, kScreenSize, image, column, mask, column, x1 - x0);
        return;
    }
    // Cut top or bottom: the visible rows of the column, one column at a time.
    for (int x = x0; x < x1; ++x)
        BlitMaskedRect(screen, {x, y0}, kScreenSize, image, {column, y0 - at.y}, mask, {column, y0 - at.y},
                       {1, y1 - y0}, 0);
}

void StretchRow(uint16_t* screen, FSPoint at, const FSBitmap* image, const FSBitmap* mask, int row,
                int length) {
    if (!screen || !image || !mask) return;
    const int x0 = std::max(at.x, 0), x1 = std::min(at.x + image->width, kWidth);
    const int y0 = std::max(at.y, 0), y1 = std::min(at.y + length, kHeight);
    if (x1 <= x0 || y1 <= y0) return;
    if (x0 == at.x && x1 == at.x + image->width) {
        StretchRowMasked(screen, {at.x, y0}, kScreenSize, image, row, mask, row, y1 - y0);
        return;
    }
    for (int y = y0; y < y1; ++y)
        BlitMaskedRect(screen, {x0, y}, kScreenSize, image, {x0 - at.x, row}, mask, {x0 - at.x, row},
                       {x1 - x0, 1}, 0);
}

void Text(uint16_t* screen, const CFSFont* font, int justification, FSPoint at, uint16_t colour,
          std::string_view text, FSClipRect clip) {
    if (!screen || !font || !font->CanDraw() || text.empty()) return;
    clip = {std::max(clip.left, 0), std::max(clip.top, 0), std::min(clip.right, kWidth),
            std::min(clip.bottom, kHeight)};
    if (clip.right <= clip.left || clip.bottom <= clip.top) return;
    DrawTextRaw(*font, screen, kWidth, kHeight, 0, justification, at, colour, text, clip);
}

}  // namespace menu_drawing
