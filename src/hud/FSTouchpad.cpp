#include "hud/FSTouchpad.h"

#include <algorithm>

#include "platform/FSDisplay.h"

namespace {

bool ValidAlignment(int alignment) {
    return alignment >= 0 && alignment < CFSTouchpad::kAlignments;
}

// A rectangle of the device screen, in 64 bits so that no stored rectangle overflows.
struct DeviceArea {
    int64_t x, y, w, h;
};

// Where a rectangle of an orientation's upright screen lies on the device screen. The
// landscape orientations turn the picture a quarter, so width and height swap.
DeviceArea ToDevice(int alignment, const FSTouchpadRect& r) {
    const int64_t x = r.x, y = r.y, w = r.width, h = r.height;
    switch (alignment) {
        case 1:  // upright (X, Y) is device (Y, 320 - X)
            return {y, MFSDisplay::kHeight - w - x, h, w};
        case 2:  // upright (X, Y) is device (240 - Y, X)
            return {MFSDisplay::kWidth - h - y, x, h, w};
        default:
            return {x, y, w, h};
    }
}

}  // namespace

void CFSTouchpad::SetTouchpadRect(int alignment, FSPoint origin, FSSize size, FSSize deadZone) {
    if (!ValidAlignment(alignment)) return;
    rects_[alignment] = FSTouchpadRect{origin.x, origin.y, size.w, size.h, deadZone.w, deadZone.h};
    set_[alignment] = true;
}

bool CFSTouchpad::GetTouchpadRect(int alignment, FSTouchpadRect& rect) const {
    if (!ValidAlignment(alignment) || !set_[alignment]) return false;
    rect = rects_[alignment];
    return true;
}

FSTouchpadLookup CFSTouchpad::Lookup() const {
    return [rects = rects_, set = set_](int alignment, FSTouchpadRect& rect) {
        if (!ValidAlignment(alignment) || !set[alignment]) return false;
        rect = rects[alignment];
        return true;
    };
}

bool CFSTouchpad::LoadImages(const std::string& archivePath) {
    ReleaseImages();
    FSBitmapHandle picture = LoadBitmap(archivePath, kPictureName, true);
    FSBitmapHandle mask = LoadBitmap(archivePath, kMaskName, true);
    // The mask is read at the picture's own offsets, so it must cover the whole picture.
    if (!picture || !mask || picture->bitsPerPixel != 16 || mask->bitsPerPixel != 8 ||
        mask->width < picture->width || mask->height < picture->height)
        return false;
    picture_ = std::move(picture);
    mask_ = std::move(mask);
    return true;
}

void CFSTouchpad::ReleaseImages() {
    picture_.reset();
    mask_.reset();
}

void CFSTouchpad::Draw(uint16_t* screen, int alignment) const {
    if (!screen || !picture_ || !mask_ || !ValidAlignment(alignment) || !set_[alignment]) return;
    const DeviceArea pad = ToDevice(alignment, rects_[alignment]);
    // The picture's part that falls inside both the pad's area and the screen.
    const int64_t x0 = std::max<int64_t>(pad.x, 0);
    const int64_t y0 = std::max<int64_t>(pad.y, 0);
    const int64_t x1 =
        std::min<int64_t>(pad.x + std::min<int64_t>(pad.w, picture_->width), MFSDisplay::kWidth);
    const int64_t y1 =
        std::min<int64_t>(pad.y + std::min<int64_t>(pad.h, picture_->height), MFSDisplay::kHeight);
    if (x0 >= x1 || y0 >= y1) return;
    const FSPoint from{static_cast<int32_t>(x0 - pad.x), static_cast<int32_t>(y0 - pad.y)};
    const FSSize copy{static_cast<int32_t>(x1 - x0), static_cast<int32_t>(y1 - y0)};
    BlitMaskedRect(screen, {static_cast<int32_t>(x0), static_cast<int32_t>(y0)},
                   {MFSDisplay::kWidth, MFSDisplay::kHeight}, picture_.get(), from, mask_.get(), from, copy,
                   0);
}
