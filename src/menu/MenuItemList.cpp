#include "menu/MenuItemList.h"

#include "menu/MenuDrawing.h"
#include "menu/MenuResources.h"

void MenuItemList::Select(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size()) || !items_[index].enabled) return;
    selected_ = index;
}

void MenuItemList::SetEnabled(int index, bool enabled) {
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    items_[index].enabled = enabled;
    if (!enabled && selected_ == index) Move(1);
}

void MenuItemList::Move(int step) {
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

int MenuItemList::ItemAt(FSPoint p) const {
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        const FSClipRect& r = items_[i].rect;
        if (items_[i].enabled && menu_drawing::Inside(p, r.left, r.top, r.right, r.bottom)) return i;
    }
    return -1;
}

int MenuItemList::Press(FSPoint point, uint32_t now) {
    const int hit = ItemAt(point);
    if (hit < 0) return -1;
    selected_ = hit;
    pressed_ = hit;
    pressedAt_ = now;
    return hit;
}

int MenuItemList::TakeDue(uint32_t now) {
    if (pressed_ < 0 || now - pressedAt_ < kActivationDelayMs) return -1;
    const int due = pressed_;
    pressed_ = -1;
    return due;
}

void MenuItemList::DrawPointer(MenuResources& r) const {
    if (items_.empty()) return;
    menu_drawing::DrawMasked(r.Screen(), items_[selected_].pointer, r.pointer.image.get(),
                             r.pointer.mask.get());
}
