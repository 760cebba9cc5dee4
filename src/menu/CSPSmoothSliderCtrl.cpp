#include "menu/CSPSmoothSliderCtrl.h"

#include <algorithm>
#include <cmath>

#include "base/FSActions.h"
#include "menu/MenuDrawing.h"
#include "menu/MenuResources.h"
#include "menu/MenuSliderTrack.h"

void CSPSmoothSliderCtrl::Init(uint16_t* screen, FSPoint position, int length, int orientation, float step) {
    screen_ = screen;
    position_ = position;
    orientation_ = orientation;
    step_ = step;
    size_ = menu_slider::SliderSize(length, orientation);
}

void CSPSmoothSliderCtrl::SetValue(float value) {
    value_ = std::isnan(value) ? 0.0f : std::clamp(value, 0.0f, 1.0f);
}

bool CSPSmoothSliderCtrl::HitTest(FSPoint p) const {
    return menu_drawing::Inside(p, position_.x, position_.y, position_.x + size_.w, position_.y + size_.h);
}

int CSPSmoothSliderCtrl::HandleAction(int code) {
    const bool lying = orientation_ == 0, standing = orientation_ == 1;
    if ((lying && (code == kActionLeftHeld || code == kActionRightHeld)) ||
        (standing && (code == kActionUpHeld || code == kActionDownHeld))) {
        const bool less = code == kActionLeftHeld || code == kActionUpHeld;
        SetValue(value_ + (less ? -step_ : step_));
        return 1;
    }
    if ((code == kActionStylusPressed || code == kActionStylusMoved) && HitTest(Stylus())) {
        const FSPoint p = Stylus();
        const int extent = lying ? size_.w : size_.h;
        if (extent <= 0 || (!lying && !standing)) return 0;
        SetValue(static_cast<float>(lying ? p.x - position_.x : p.y - position_.y) /
                 static_cast<float>(extent));
        return 1;
    }
    return 0;
}

void CSPSmoothSliderCtrl::Draw() {
    const MenuResources* r = MenuResources::Current();
    if (!r || orientation_ != 0) return;
    const int length = size_.w;
    menu_slider::DrawTrack(screen_, *r, position_, length);
    menu_slider::DrawKnob(screen_, *r,
                          static_cast<int>(static_cast<float>(length - 7) * value_) + position_.x - 3,
                          position_.y);
}
