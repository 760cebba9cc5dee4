#include "menu/CSPScrollerCtrl.h"

#include <algorithm>
#include <cmath>

#include "base/FSActions.h"
#include "menu/MenuDrawing.h"
#include "menu/MenuResources.h"

using namespace menu_drawing;

namespace {

constexpr int kMinimumThumb = 15;
constexpr int kThumbEnd = 7;  // the rounded ends of the thumb picture

}  // namespace

FSSize CSPScrollerCtrl::Arrow() const {
    const MenuResources* r = MenuResources::Current();
    return r ? SizeOf(r->scrollerArrow.image.get()) : FSSize{};
}

void CSPScrollerCtrl::Init(uint16_t* screen, FSPoint position, int length, int orientation) {
    screen_ = screen;
    position_ = position;
    orientation_ = orientation;
    const int across = Arrow().h;
    size_ = orientation == 0 ? FSSize{length, across} : FSSize{across, length};
    dragging_ = false;
    UpdateThumb();
}

void CSPScrollerCtrl::SetRange(float minimum, float maximum) {
    if (!(minimum <= maximum)) return;
    minimum_ = minimum;
    maximum_ = maximum;
    SetValue(value_);
}

void CSPScrollerCtrl::SetValue(float value) {
    value_ = std::isnan(value) ? minimum_ : std::clamp(value, minimum_, maximum_);
    UpdateThumb();
}

int CSPScrollerCtrl::Travel() const {
    // The vertical bar measures its arrows by their height, the lying one by their width.
    const FSSize arrow = Arrow();
    const int a = orientation_ == 0 ? arrow.w : arrow.h;
    return Extent() - 2 * a - thumbLength_;
}

void CSPScrollerCtrl::UpdateThumb() {
    const float range = maximum_ - minimum_;
    const int extent = Extent(), a = Arrow().w;
    thumbLength_ = 0;
    if (range > 0 && extent > 0) {
        const double length =
            static_cast<double>(extent - 2 * a) * extent / (extent + static_cast<double>(range));
        thumbLength_ = std::max(static_cast<int>(length), kMinimumThumb);
    }
    thumbOffset_ = 0;
    if (thumbLength_ > 0 && Travel() > 0)
        thumbOffset_ = static_cast<int>(static_cast<double>(Travel()) * (value_ - minimum_) / range);
}

bool CSPScrollerCtrl::HitTest(FSPoint p) const {
    return Inside(p, position_.x, position_.y, position_.x + size_.w, position_.y + size_.h);
}

int CSPScrollerCtrl::HandlePress() {
    const FSPoint p = Stylus();
    const FSSize arrow = Arrow();
    const int start = Along(position_), at = Along(p), extent = Extent();
    // The arrow squares (a x arrow height) at either end; the thumb between them.
    const int across = orientation_ == 0 ? p.y - position_.y : p.x - position_.x;
    if (across < 0 || across >= arrow.h) return 0;
    if (at >= start && at < start + arrow.w) {
        SetValue(value_ - step_);
    } else if (at >= start + extent - arrow.w && at < start + extent) {
        SetValue(value_ + step_);
    } else if (thumbLength_ > 0 && at >= start + arrow.w + thumbOffset_ &&
               at <= start + arrow.w + thumbOffset_ + thumbLength_) {
        dragging_ = true;
        dragStartValue_ = static_cast<int>(value_);
        dragStart_ = p;
    }
    return 0;
}

int CSPScrollerCtrl::HandleAction(int code) {
    const bool lying = orientation_ == 0;
    if ((lying && (code == kActionLeftHeld || code == kActionRightHeld)) ||
        (!lying && (code == kActionUpHeld || code == kActionDownHeld))) {
        const bool less = code == kActionLeftHeld || code == kActionUpHeld;
        SetValue(value_ + (less ? -step_ : step_));
        return 1;
    }
    switch (code) {
        case kActionStylusPressed:
            return HandlePress();
        case kActionStylusMoved: {
            if (!dragging_) return 0;
            const int travel = Travel();
            if (travel <= 0) return 0;
            const int moved = Along(Stylus()) - Along(dragStart_);
            SetValue(static_cast<float>(dragStartValue_ +
                                        static_cast<double>(maximum_ - minimum_) * moved / travel));
            return 1;
        }
        case kActionStylusReleased:
            dragging_ = false;
            return 0;
        default:
            return 0;
    }
}

void CSPScrollerCtrl::DrawLying(const MenuResources& r, FSSize arrow) {
    const int x = position_.x, y = position_.y, length = size_.w;
    const FSBitmap* arrowImage = r.scrollerArrow.image.get();
    const FSBitmap* arrowMask = r.scrollerArrow.mask.get();
    DrawMasked(screen_, {x, y}, arrowImage, arrowMask, 0);
    DrawMasked(screen_, {x + length - arrow.w, y}, arrowImage, arrowMask, 2);
    const FSBitmap* thumb = r.hscroller.image.get();
    const FSBitmap* mask = r.hscroller.mask.get();
    if (thumbLength_ <= 0 || !thumb || !mask || thumb->width < 2 * kThumbEnd + 1) return;
    const int at = x + arrow.w + thumbOffset_;
    DrawMasked(screen_, {at - kThumbEnd, y}, thumb, mask, {0, 0}, {kThumbEnd, thumb->height}, 0);
    StretchColumn(screen_, {at, y}, thumb, mask, kThumbEnd, thumbLength_ + 2);
    DrawMasked(screen_, {at + thumbLength_ + 2, y}, thumb, mask, {thumb->width - kThumbEnd, 0},
               {kThumbEnd, thumb->height}, 0);
}

void CSPScrollerCtrl::DrawStanding(const MenuResources& r, FSSize arrow) {
    const int x = position_.x, y = position_.y, length = size_.h;
    const FSBitmap* arrowImage = r.scrollerArrow.image.get();
    const FSBitmap* arrowMask = r.scrollerArrow.mask.get();
    DrawMasked(screen_, {x, y}, arrowImage, arrowMask, 1);
    DrawMasked(screen_, {x, y + length - arrow.h}, arrowImage, arrowMask, 3);
    const FSBitmap* thumb = r.vscroller.image.get();
    const FSBitmap* mask = r.vscroller.mask.get();
    if (thumbLength_ <= 0 || !thumb || !mask || thumb->height < 2 * kThumbEnd + 1) return;
    const int at = y + arrow.w + thumbOffset_;
    DrawMasked(screen_, {x, at - kThumbEnd}, thumb, mask, {0, 0}, {thumb->width, kThumbEnd}, 0);
    StretchRow(screen_, {x, at}, thumb, mask, kThumbEnd, thumbLength_ + 2);
    DrawMasked(screen_, {x, at + thumbLength_ + 2}, thumb, mask, {0, thumb->height - kThumbEnd},
               {thumb->width, kThumbEnd}, 0);
}

void CSPScrollerCtrl::Draw() {
    const MenuResources* r = MenuResources::Current();
    if (!r || !r->scrollerArrow.mask) return;
    const FSSize arrow = SizeOf(r->scrollerArrow.image.get());
    if (orientation_ == 0) {
        DrawLying(*r, arrow);
    } else if (orientation_ == 1) {
        DrawStanding(*r, arrow);
    }
}
