#include "menu/CSPMessageBox.h"

#include <algorithm>

#include "base/FSActions.h"
#include "menu/MenuDrawing.h"
#include "resources/FSArchive.h"
#include "resources/FSPixels.h"

using namespace menu_drawing;

namespace {

constexpr uint16_t kWhite = 0xFFFF;
constexpr float kShade = 0.4f;
constexpr int kPixels = kWidth * kHeight;

}  // namespace

bool CSPMessageBox::Create(uint16_t* screen, FSPoint position, FSSize size, const CFSFont* textFont,
                           const CFSFont* buttonFont, const std::string& archive) {
    screen_ = screen;
    position_ = position;
    size_ = size;
    textFont_ = textFont;
    buttonFont_ = buttonFont;
    const std::string a = archive.empty() ? MakeDataPath("data\\menu.zip") : archive;
    window_ = LoadBitmap(a, "controls/messagebox/window.bmp");
    buttonOff_ = LoadBitmap(a, "controls/messagebox/button_off.bmp");
    buttonOn_ = LoadBitmap(a, "controls/messagebox/button_on.bmp");
    saved_.assign(kPixels, 0);
    return window_ && buttonOff_ && buttonOn_;
}

void CSPMessageBox::Show(uint16_t* screen, const std::string& text, int kind) {
    screen_ = screen;
    saved_.assign(kPixels, 0);
    if (screen_) std::copy(screen_, screen_ + kPixels, saved_.begin());
    text_ = text.substr(0, kMaxText);
    result_ = -1;
    selected_ = 0;
    kind_ = kind == kYesNo ? kYesNo : kOk;
}

FSPoint CSPMessageBox::ButtonAt(int button) const {
    const int y = position_.y + size_.h - 30;
    if (kind_ == kOk) return {position_.x + size_.w / 2 - kButton.w / 2, y};
    return {button == 0 ? position_.x + 15 : position_.x + size_.w - 103, y};
}

const char* CSPMessageBox::Label(int button) const {
    if (kind_ == kOk) return "OK";
    return button == 0 ? "Yes" : "No";
}

bool CSPMessageBox::HitTest(FSPoint p) const {
    return Inside(p, position_.x, position_.y, position_.x + size_.w, position_.y + size_.h);
}

int CSPMessageBox::HandleAction(int code) {
    if (result_ != -1) return 0;
    const int count = ButtonCount();
    switch (code) {
        case kActionSelect:
            result_ = selected_;
            break;
        case kActionLeft:
            selected_ = (selected_ + count - 1) % count;
            break;
        case kActionRight:
            selected_ = (selected_ + 1) % count;
            break;
        case kActionStylusPressed:
            for (int b = 0; b < count; ++b) {
                const FSPoint at = ButtonAt(b);
                if (Inside(Stylus(), at.x, at.y, at.x + kButton.w, at.y + kButton.h)) result_ = b;
            }
            break;
        default:
            break;
    }
    return 0;
}

void CSPMessageBox::Draw() {
    if (!screen_ || saved_.size() != static_cast<size_t>(kPixels)) return;
    DarkenPixels(screen_, saved_.data(), kPixels, kShade);
    DrawMasked(screen_, position_, window_.get(), nullptr);
    const int x = position_.x, y = position_.y, w = size_.w, h = size_.h;
    if (textFont_) {
        const int areaTop = y + 15, areaBottom = y + h - 30;
        const int top = areaTop + (areaBottom - areaTop - textFont_->TextHeight(text_)) / 2;
        Text(screen_, textFont_, kJustifyCentre, {x + w / 2, top}, kWhite, text_,
             {x + 5, areaTop, x + w - 5, areaBottom});
    }
    for (int b = 0; b < ButtonCount(); ++b) {
        const FSPoint at = ButtonAt(b);
        DrawMasked(screen_, at, (b == selected_ ? buttonOn_ : buttonOff_).get(), nullptr);
        Text(screen_, buttonFont_, kJustifyCentre, {at.x + 44, at.y + 6}, kWhite, Label(b));
    }
}
