#include "menu/MenuRowList.h"

#include "base/FSActions.h"
#include "menu/MenuDrawing.h"
#include "menu/MenuResources.h"

void MenuRowList::Select(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size()) || !items_[index].enabled) return;
    selected_ = index;
}

void MenuRowList::SetEnabled(int index, bool enabled) {
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    items_[index].enabled = enabled;
    if (!enabled && selected_ == index) Move(1);
}

void MenuRowList::Move(int step) {
    const int n = static_cast<int>(items_.size());
    int i = selected_;
    for (int tries = 0; tries < n; ++tries) {
        i = ((i + step) % n + n) % n;
        if (items_[i].enabled) {
            selected_ = i;
            return;
        }
    }
}

int MenuRowList::ItemAt(FSPoint p) const {
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        const FSClipRect& r = items_[i].rect;
        if (items_[i].enabled && menu_drawing::Inside(p, r.left, r.top, r.right, r.bottom)) return i;
    }
    return -1;
}

int MenuRowList::Press(FSPoint point, uint32_t now) {
    const int hit = ItemAt(point);
    if (hit < 0) return -1;
    selected_ = hit;
    pressed_ = hit;
    pressedAt_ = now;
    return hit;
}

int MenuRowList::TakeDue(uint32_t now) {
    if (pressed_ < 0 || now - pressedAt_ < kActivationDelayMs) return -1;
    const int due = pressed_;
    pressed_ = -1;
    return due;
}

int MenuRowList::HandleAction(int action, FSPoint stylus, uint32_t now) {
    if (items_.empty()) return 0;
    switch (action) {
        case kActionUp:
        case kActionDown:
            Move(action == kActionUp ? -1 : 1);
            Disarm();
            return 1;
        case kActionStylusPressed:
            return Press(stylus, now) >= 0 ? 1 : 0;
        default:
            return 0;
    }
}

void MenuRowList::DrawPointer(MenuResources& r) const {
    if (items_.empty()) return;
    menu_drawing::DrawMasked(r.Screen(), items_[selected_].pointer, r.pointer.image.get(),
                             r.pointer.mask.get());
}
