#include "menu/CSPTextCtrl.h"

#include <algorithm>

#include "hud/FSFont.h"
#include "menu/MenuDrawing.h"

namespace {

constexpr int kBar = 13;  // room the bars take from the text
constexpr uint16_t kWhite = 0xFFFF;

}  // namespace

void CSPTextCtrl::Init(uint16_t* screen, const CFSFont* font, FSClipRect rectangle, FSClipRect margins,
                       bool horizontalBar, bool verticalBar) {
    screen_ = screen;
    font_ = font;
    rectangle_ = rectangle;
    margins_ = margins;
    horizontalShown_ = horizontalBar;
    verticalShown_ = verticalBar;
    const FSClipRect& r = rectangle;
    horizontal_.Init(screen, {r.left + 2, r.bottom - kBar}, r.right - r.left, 0);
    vertical_.Init(screen, {r.right - kBar, r.top + 2}, r.bottom - r.top, 1);
    for (CSPScrollerCtrl* bar : {&horizontal_, &vertical_}) {
        bar->SetRange(0.0f, 100.0f);
        bar->SetValue(0.0f);
        bar->SetStep(1.0f);
    }
    SetText(text_);
}

FSClipRect CSPTextCtrl::Inner() const {
    const FSClipRect& r = rectangle_;
    const int width = r.right - r.left - (verticalShown_ ? kBar : 0) - margins_.left - margins_.right;
    const int height = r.bottom - r.top - (horizontalShown_ ? kBar : 0) - margins_.top - margins_.bottom;
    const int left = r.left + margins_.left, top = r.top + margins_.top;
    return {left, top, left + std::max(width, 0), top + std::max(height, 0)};
}

void CSPTextCtrl::SetText(const std::string& text) {
    text_ = text;
    textSize_ = font_ ? font_->TextSize(text_) : FSSize{};
    const FSClipRect inner = Inner();
    horizontal_.SetRange(0.0f, static_cast<float>(std::max(0, textSize_.w - (inner.right - inner.left))));
    vertical_.SetRange(0.0f, static_cast<float>(std::max(0, textSize_.h - (inner.bottom - inner.top))));
}

bool CSPTextCtrl::HitTest(FSPoint p) const {
    return menu_drawing::Inside(p, rectangle_.left, rectangle_.top, rectangle_.right, rectangle_.bottom);
}

int CSPTextCtrl::HandleAction(int code) {
    if (verticalShown_) vertical_.HandleAction(code);
    if (horizontalShown_) horizontal_.HandleAction(code);
    return 0;
}

void CSPTextCtrl::Draw() {
    if (verticalShown_) vertical_.Draw();
    if (horizontalShown_) horizontal_.Draw();
    const FSClipRect inner = Inner();
    const FSPoint at{rectangle_.left + margins_.left - static_cast<int>(horizontal_.Value()),
                     rectangle_.top + margins_.top - static_cast<int>(vertical_.Value())};
    menu_drawing::Text(screen_, font_, kJustifyLeft, at, kWhite, text_, inner);
}
