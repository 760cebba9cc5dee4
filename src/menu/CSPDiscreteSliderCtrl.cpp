#include "menu/CSPDiscreteSliderCtrl.h"

#include <algorithm>
#include <cmath>

#include "base/FSActions.h"
#include "menu/MenuDrawing.h"
#include "menu/MenuResources.h"
#include "menu/MenuSliderTrack.h"

void CSPDiscreteSliderCtrl::Init(uint16_t* screen, FSPoint position, int length, int orientation, int count) {
    screen_ = screen;
    position_ = position;
    orientation_ = orientation;
    count_ = std::max(count, 0);
    size_ = menu_slider::SliderSize(length, orientation);
    SetIndex(index_);
}

void CSPDiscreteSliderCtrl::SetIndex(int index) {
    index_ = std::clamp(index, 0, std::max(count_ - 1, 0));
}

bool CSPDiscreteSliderCtrl::HitTest(FSPoint p) const {
    return menu_drawing::Inside(p, position_.x, position_.y, position_.x + size_.w, position_.y + size_.h);
}

int CSPDiscreteSliderCtrl::HandleAction(int code) {
    const bool lying = orientation_ == 0, standing = orientation_ == 1;
    if ((lying && (code == kActionLeft || code == kActionRight)) ||
        (standing && (code == kActionUp || code == kActionDown))) {
        const bool less = code == kActionLeft || code == kActionUp;
        SetIndex(index_ + (less ? -1 : 1));
        return 1;
    }
    if (code == kActionStylusPressed && (lying || standing) && HitTest(Stylus())) {
        const int length = lying ? size_.w : size_.h;
        if (length <= 0 || count_ < 2) return 0;
        const int offset = lying ? Stylus().x - position_.x : Stylus().y - position_.y;
        const double f = static_cast<double>(offset) * (count_ - 1) / length;
        const double below = std::floor(f);
        SetIndex(static_cast<int>(f - below > 0.5 ? below + 1 : below));
        return 1;
    }
    return 0;
}

void CSPDiscreteSliderCtrl::Draw() {
    const MenuResources* r = MenuResources::Current();
    if (!r || orientation_ != 0) return;
    const int length = size_.w, left = position_.x;
    menu_slider::DrawTrack(screen_, *r, position_, length);
    if (count_ >= 2 && r->sliderPointCenter.mask) {
        for (int i = 1; i <= count_ - 2; ++i) {
            const int x = (length - 8) * i / (count_ - 1) + left + 2;
            menu_drawing::DrawMasked(screen_, {x, position_.y}, r->sliderPointCenter.image.get(),
                                     r->sliderPointCenter.mask.get());
        }
    }
    const int knob = count_ >= 2 ? (length - 7) * index_ / (count_ - 1) : 0;
    menu_slider::DrawKnob(screen_, *r, knob + left - 3, position_.y);
}
