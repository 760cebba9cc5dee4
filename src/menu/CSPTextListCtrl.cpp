#include "menu/CSPTextListCtrl.h"

#include "base/FSActions.h"
#include "menu/MenuDrawing.h"
#include "menu/MenuResources.h"
#include "platform/FSClock.h"

using namespace menu_drawing;

void CSPTextListCtrl::Init(uint16_t* screen, FSPoint position, int width, const CFSFont* font,
                           std::vector<std::string> entries, bool wrap) {
    screen_ = screen;
    position_ = position;
    width_ = width;
    font_ = font;
    entries_ = std::move(entries);
    wrap_ = wrap;
    selected_ = 0;
    lastTap_.reset();
    const MenuResources* r = MenuResources::Current();
    const FSSize arrow = r ? SizeOf(r->scrollerArrow.image.get()) : FSSize{};
    leftArrow_ = {position.x, position.y, position.x + arrow.w, position.y + arrow.h};
    rightArrow_ = {position.x + width - arrow.w, position.y, position.x + width, position.y + arrow.h};
}

void CSPTextListCtrl::SetSelected(int index) {
    if (index >= 0 && index < static_cast<int>(entries_.size())) selected_ = index;
}

bool CSPTextListCtrl::HitTest(FSPoint p) const {
    return Inside(p, position_.x, position_.y, position_.x + width_, leftArrow_.bottom);
}

int CSPTextListCtrl::Step(int direction) {
    const int count = static_cast<int>(entries_.size());
    if (count == 0) return 0;
    int next = selected_ + direction;
    if (next < 0) next = wrap_ ? count - 1 : 0;
    if (next >= count) next = wrap_ ? 0 : count - 1;
    if (next == selected_) return 0;
    selected_ = next;
    return 1;
}

int CSPTextListCtrl::HandleAction(int code) {
    switch (code) {
        case kActionLeft:
            return Step(-1);
        case kActionRight:
            return Step(1);
        case kActionStylusReleased:
            lastTap_.reset();
            return 0;
        case kActionStylusPressed: {
            const FSPoint p = Stylus();
            if (!HitTest(p)) return 0;
            const uint32_t now = platform::TickCount();
            if (lastTap_ && now - *lastTap_ < kTapIntervalMs) return 0;
            lastTap_ = now;
            const auto on = [&p](const FSClipRect& r) { return Inside(p, r.left, r.top, r.right, r.bottom); };
            if (on(leftArrow_)) return Step(-1);
            if (on(rightArrow_)) return Step(1);
            return 0;
        }
        default:
            return 0;
    }
}

void CSPTextListCtrl::Draw() {
    const MenuResources* r = MenuResources::Current();
    if (!r) return;
    if (r->scrollerArrow.mask) {
        DrawMasked(screen_, {leftArrow_.left, leftArrow_.top}, r->scrollerArrow.image.get(),
                   r->scrollerArrow.mask.get(), 0);
        DrawMasked(screen_, {rightArrow_.left, rightArrow_.top}, r->scrollerArrow.image.get(),
                   r->scrollerArrow.mask.get(), 2);
    }
    if (entries_.empty() || !font_) return;
    const int centre = (leftArrow_.right + rightArrow_.left) / 2;
    const int top = position_.y + (leftArrow_.bottom - leftArrow_.top - font_->LineHeight()) / 2;
    // A name too long for the space between the arrows is shortened, never drawn over them.
    const int room = rightArrow_.left - leftArrow_.right - 4;
    std::string shown = entries_[selected_];
    if (font_->TextWidth(shown) > room) {
        while (!shown.empty() && font_->TextWidth(shown + "...") > room)
            shown.pop_back();
        while (!shown.empty() && shown.back() == ' ')
            shown.pop_back();
        shown += "...";
    }
    Text(screen_, font_, kJustifyCentre, {centre, top}, 0xFFFF, shown,
         {leftArrow_.right, position_.y - font_->LineHeight(), rightArrow_.left,
          leftArrow_.bottom + font_->LineHeight()});
}
