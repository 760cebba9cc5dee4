#include "menu/MenuItemList.h"

#include "base/FSActions.h"
#include "menu/MenuDrawing.h"

void MenuItemList::Select(int item) {
    if (item >= 0 && item < Count()) selected_ = item;
}

int MenuItemList::ItemAt(FSPoint p) const {
    for (int i = 0; i < Count(); ++i) {
        const FSClipRect& r = At(i).label;
        if (menu_drawing::Inside(p, r.left, r.top, r.right, r.bottom)) return i;
    }
    return -1;
}

int MenuItemList::HandleAction(int action, FSPoint stylus, uint32_t now) {
    const int count = Count();
    if (count == 0) return 0;
    switch (action) {
        case kActionUp:
            selected_ = (selected_ + count - 1) % count;
            armed_ = false;
            return 1;
        case kActionDown:
            selected_ = (selected_ + 1) % count;
            armed_ = false;
            return 1;
        case kActionStylusPressed: {
            const int item = ItemAt(stylus);
            if (item < 0) return 0;
            selected_ = item;
            armed_ = true;
            pressed_ = now;
            return 1;
        }
        default:
            return 0;
    }
}

int MenuItemList::Due(uint32_t now) {
    if (!armed_ || now - pressed_ < kActivationDelayMs) return -1;
    armed_ = false;
    return selected_;
}
