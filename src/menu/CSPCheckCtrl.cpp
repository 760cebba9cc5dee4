#include "menu/CSPCheckCtrl.h"

#include "base/FSActions.h"
#include "menu/MenuDrawing.h"
#include "menu/MenuResources.h"

using namespace menu_drawing;

void CSPCheckCtrl::Init(uint16_t* screen, FSPoint position) {
    screen_ = screen;
    position_ = position;
    const MenuResources* r = MenuResources::Current();
    size_ = r ? SizeOf(r->checkboxOn.image.get()) : FSSize{};
}

bool CSPCheckCtrl::HitTest(FSPoint p) const {
    return Inside(p, position_.x, position_.y, position_.x + size_.w, position_.y + size_.h);
}

int CSPCheckCtrl::HandleAction(int code) {
    if (state_ == kHidden) return 0;
    const bool tapped = code == kActionStylusPressed && HitTest(Stylus());
    if (code != kActionLeft && code != kActionRight && !tapped) return 0;
    state_ = state_ == kOn ? kOff : kOn;
    return 1;
}

void CSPCheckCtrl::Draw() {
    const MenuResources* r = MenuResources::Current();
    if (!r || state_ == kHidden) return;
    const FSMenuPicture& picture = state_ == kOn ? r->checkboxOn : r->checkboxOff;
    if (picture.mask) DrawMasked(screen_, position_, picture.image.get(), picture.mask.get());
}
