#include "hud/FSTouchpad.h"

#include <algorithm>

#include "hud/FSHudBlit.h"

namespace {

bool ValidAlignment(int alignment) {
    return alignment >= 0 && alignment < CFSTouchpad::kAlignments;
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
    if (!picture_ || !mask_ || !ValidAlignment(alignment) || !set_[alignment]) return;
    // The picture is drawn as it stands, over the part of the pad's area it covers, cut
    // to the screen.
    const FSTouchpadRect& r = rects_[alignment];
    FSPoint at{r.x, r.y};
    TurnToFrameBuffer(alignment, at.x, at.y, r.width, r.height);
    const bool turned = alignment == 1 || alignment == 2;
    const FSSize area{turned ? r.height : r.width, turned ? r.width : r.height};
    const FSSize size{std::min(area.w, picture_->width), std::min(area.h, picture_->height)};
    BlitClipped(screen, 0, at, size, picture_.get(), {0, 0}, mask_.get(), {0, 0});
}
