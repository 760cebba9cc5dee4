#include "hud/FSHudBlit.h"

#include <algorithm>
#include <limits>

#include "platform/FSDisplay.h"

namespace {

constexpr FSSize kFrameBuffer{MFSDisplay::kWidth, MFSDisplay::kHeight};

int32_t Saturate(int64_t v) {
    return static_cast<int32_t>(
        std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// Half-open span of a copy's rectangle along one source axis, relative to the rectangle.
struct Span {
    int64_t lo, hi;
    void Keep(int64_t from, int64_t to) {
        lo = std::max(lo, from);
        hi = std::min(hi, to);
    }
};

// How a blit transform lays the source axes on the destination (see FSBitmap.h): whether
// destination x follows the source row, and whether x and y run backwards.
struct AxisMap {
    bool xFromRow, xReversed, yReversed;
};
constexpr AxisMap kAxisMaps[] = {{false, false, false}, {true, true, false},  {false, true, true},
                                 {true, false, true},   {false, true, false}, {false, false, true}};

// What remains of a copy after cutting it to its images and the frame buffer.
struct Clipped {
    FSPoint destination, source, mask;
    FSSize size;
};

// Cuts the w x h rectangle at source (and at maskPoint of mask, when given) to the parts
// inside the image, the mask and, once placed at destination with transform, the frame
// buffer. False when nothing remains or the transform is unknown. All sums in 64 bits, so
// any numbers are safe.
bool Clip(int transform, FSPoint destination, FSSize size, FSPoint source, const FSBitmap& image,
          const FSBitmap* mask, FSPoint maskPoint, Clipped& out) {
    if (transform < 0 || transform > 5 || size.w <= 0 || size.h <= 0) return false;
    Span column{0, size.w}, row{0, size.h};
    column.Keep(-int64_t{source.x}, int64_t{image.width} - source.x);
    row.Keep(-int64_t{source.y}, int64_t{image.height} - source.y);
    if (mask) {
        column.Keep(-int64_t{maskPoint.x}, int64_t{mask->width} - maskPoint.x);
        row.Keep(-int64_t{maskPoint.y}, int64_t{mask->height} - maskPoint.y);
    }
    const AxisMap map = kAxisMaps[transform];
    Span& alongX = map.xFromRow ? row : column;
    Span& alongY = map.xFromRow ? column : row;
    const int64_t lengthX = map.xFromRow ? size.h : size.w;
    const int64_t lengthY = map.xFromRow ? size.w : size.h;
    // A reversed axis puts source offset v at X + length - 1 - v.
    const auto keepInside = [](Span& span, bool reversed, int64_t origin, int64_t length, int64_t limit) {
        if (reversed)
            span.Keep(origin + length - limit, origin + length);
        else
            span.Keep(-origin, limit - origin);
    };
    keepInside(alongX, map.xReversed, destination.x, lengthX, kFrameBuffer.w);
    keepInside(alongY, map.yReversed, destination.y, lengthY, kFrameBuffer.h);
    if (column.lo >= column.hi || row.lo >= row.hi) return false;
    const auto start = [](const Span& span, bool reversed, int64_t origin, int64_t length) {
        return static_cast<int32_t>(reversed ? origin + length - span.hi : origin + span.lo);
    };
    out.destination = {start(alongX, map.xReversed, destination.x, lengthX),
                       start(alongY, map.yReversed, destination.y, lengthY)};
    out.source = {static_cast<int32_t>(source.x + column.lo), static_cast<int32_t>(source.y + row.lo)};
    out.mask = {static_cast<int32_t>(maskPoint.x + column.lo), static_cast<int32_t>(maskPoint.y + row.lo)};
    out.size = {static_cast<int32_t>(column.hi - column.lo), static_cast<int32_t>(row.hi - row.lo)};
    return true;
}

}  // namespace

bool FSHudPicture::Load(const std::string& archivePath, const std::string& imageName,
                        const std::string& maskName) {
    image = LoadBitmap(archivePath, imageName, true);
    mask = LoadBitmap(archivePath, maskName, true);
    if (image && mask && image->bitsPerPixel == 16 && mask->bitsPerPixel == 8) return true;
    image.reset();
    mask.reset();
    return false;
}

FSSize UprightScreen(int alignment) {
    return alignment == 1 || alignment == 2 ? FSSize{kFrameBuffer.h, kFrameBuffer.w} : kFrameBuffer;
}

int RotationCode(int alignment) {
    switch (alignment) {
        case 0:
            return 0;
        case 1:
            return 3;
        case 2:
            return 1;
        default:
            return -1;
    }
}

void TurnToFrameBuffer(int alignment, int32_t& x, int32_t& y, int32_t w, int32_t h) {
    const int64_t x0 = x, y0 = y;
    if (alignment == 1) {
        x = Saturate(y0);
        y = Saturate(int64_t{kFrameBuffer.h} - w - x0);
    } else if (alignment == 2) {
        x = Saturate(int64_t{kFrameBuffer.w} - h - y0);
        y = Saturate(x0);
    }
}

void BlitClipped(uint16_t* frameBuffer, int transform, FSPoint destination, FSSize size,
                 const FSBitmap* image, FSPoint source, const FSBitmap* mask, FSPoint maskPoint) {
    Clipped c;
    if (!frameBuffer || !image || !Clip(transform, destination, size, source, *image, mask, maskPoint, c))
        return;
    if (mask)
        BlitMaskedRect(frameBuffer, c.destination, kFrameBuffer, image, c.source, mask, c.mask, c.size,
                       transform);
    else
        BlitRect(frameBuffer, c.destination, kFrameBuffer, image, c.source, c.size, transform);
}

void DrawUprightPicture(uint16_t* frameBuffer, int alignment, FSPoint point, const FSHudPicture& picture) {
    if (!picture.image || !picture.mask) return;
    const FSSize size{picture.image->width, picture.image->height};
    TurnToFrameBuffer(alignment, point.x, point.y, size.w, size.h);
    BlitClipped(frameBuffer, RotationCode(alignment), point, size, picture.image.get(), {0, 0},
                picture.mask.get(), {0, 0});
}

void DrawUprightRect(uint16_t* frameBuffer, int alignment, FSPoint point, FSSize size, const FSBitmap* image,
                     const FSClipRect& clip) {
    const int64_t left = std::max<int64_t>(point.x, clip.left);
    const int64_t top = std::max<int64_t>(point.y, clip.top);
    const int64_t right = std::min<int64_t>(int64_t{point.x} + size.w, clip.right);
    const int64_t bottom = std::min<int64_t>(int64_t{point.y} + size.h, clip.bottom);
    if (left >= right || top >= bottom) return;
    FSPoint at{static_cast<int32_t>(left), static_cast<int32_t>(top)};
    const FSSize cut{static_cast<int32_t>(right - left), static_cast<int32_t>(bottom - top)};
    TurnToFrameBuffer(alignment, at.x, at.y, cut.w, cut.h);
    BlitClipped(frameBuffer, RotationCode(alignment), at, cut, image,
                {static_cast<int32_t>(left - point.x), static_cast<int32_t>(top - point.y)});
}

bool PixelOf(double position, int32_t& pixel) {
    constexpr double kFar = 1e6;
    if (!(position > -kFar && position < kFar)) return false;
    pixel = static_cast<int32_t>(position);
    return true;
}
