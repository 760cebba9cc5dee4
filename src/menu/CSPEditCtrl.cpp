#include "menu/CSPEditCtrl.h"

#include <algorithm>

#include "base/FSActions.h"
#include "menu/EditKeyboardLayout.h"
#include "menu/MenuDrawing.h"
#include "platform/FSClock.h"
#include "resources/FSArchive.h"
#include "resources/FSPixels.h"

using namespace menu_drawing;
namespace kb = edit_keyboard;

namespace {

constexpr uint16_t kWhite = 0xFFFF;
constexpr uint16_t kRed = 0xF800;
constexpr int kFrame = 2;

bool Printable(char c) {
    return c >= 32 && c <= 126;
}

// White with a frame kFrame pixels wide in deep red.
FSBitmapHandle MakeField(FSSize size) {
    FSBitmapHandle field = CreateBitmap565(size.w, size.h);
    if (!field) return field;
    const uint16_t frame = Pack565(0xBB0000);
    for (int y = 0; y < size.h; ++y)
        for (int x = 0; x < size.w; ++x) {
            const bool edge = x < kFrame || y < kFrame || x >= size.w - kFrame || y >= size.h - kFrame;
            field->Pixels()[y * field->Stride() + x] = edge ? frame : kWhite;
        }
    return field;
}

// An opaque 8-bit mask of size.
FSBitmapHandle MakeSolidMask(FSSize size) {
    if (size.w <= 0 || size.h <= 0) return nullptr;
    auto mask = std::make_unique<FSBitmap>();
    mask->width = size.w;
    mask->height = size.h;
    mask->bitsPerPixel = 8;
    mask->rowBytes = (size.w + 3) / 4 * 4;
    mask->storage.assign(static_cast<size_t>(mask->rowBytes) * size.h / 2 + 1, 0xFFFF);
    return mask;
}

}  // namespace

bool CSPEditCtrl::Init(uint16_t* screen, FSPoint position, FSSize size, const CFSFont* font,
                       const std::string& archive) {
    screen_ = screen;
    position_ = position;
    size_ = size;
    font_ = font;
    field_ = MakeField(size);
    cursorMask_ = MakeSolidMask({2, size.h - 6});
    const std::string a = archive.empty() ? MakeDataPath("data\\menu.zip") : archive;
    const std::string folder = "controls/editctrl/";
    keyboardOff_ = LoadBitmap(a, folder + "keyboard_off.bmp");
    keyboardCapsOff_ = LoadBitmap(a, folder + "keyboard_caps_off.bmp");
    keyboardOn_ = LoadBitmap(a, folder + "keyboard_on.bmp");
    keyboardCapsOn_ = LoadBitmap(a, folder + "keyboard_caps_on.bmp");
    Reset();
    blinkTime_ = platform::TickCount();
    return keyboardOff_ && keyboardCapsOff_ && keyboardOn_ && keyboardCapsOn_;
}

void CSPEditCtrl::Reset() {
    text_.clear();
    cursor_ = 0;
    capsLock_ = shift_ = done_ = false;
    pressed_ = kb::kNone;
    Measure();
}

void CSPEditCtrl::SetText(const std::string& text) {
    text_.clear();
    for (char c : text)
        if (Printable(c) && static_cast<int>(text_.size()) < maxLength_) text_ += c;
    cursor_ = static_cast<int>(text_.size());
    Measure();
}

void CSPEditCtrl::Insert(char c) {
    if (!Printable(c) || static_cast<int>(text_.size()) >= maxLength_) return;
    cursor_ = std::clamp(cursor_, 0, static_cast<int>(text_.size()));
    text_.insert(text_.begin() + cursor_, c);
    ++cursor_;
}

void CSPEditCtrl::Measure() {
    cursor_ = std::clamp(cursor_, 0, static_cast<int>(text_.size()));
    textWidth_ = font_ ? font_->TextWidth(text_) : 0;
    cursorX_ = font_ ? font_->TextWidth(std::string_view(text_).substr(0, cursor_)) : 0;
}

void CSPEditCtrl::TypeCharacter(char c) {
    Insert(c);
    Measure();
}

void CSPEditCtrl::TypeKey(Key key) {
    switch (key) {
        case Key::Backspace:
            if (cursor_ > 0 && cursor_ <= static_cast<int>(text_.size())) text_.erase(--cursor_, 1);
            break;
        case Key::Left:
            --cursor_;
            break;
        case Key::Right:
            ++cursor_;
            break;
        case Key::Enter:
            done_ = true;
            break;
    }
    Measure();
}

void CSPEditCtrl::PressKey(int key) {
    switch (key) {
        case kb::kBackspace:
            TypeKey(Key::Backspace);
            return;
        case kb::kCursorLeft:
            TypeKey(Key::Left);
            return;
        case kb::kCursorRight:
            TypeKey(Key::Right);
            return;
        case kb::kEnter:
            TypeKey(Key::Enter);
            return;
        case kb::kCapsLock:
            capsLock_ = !capsLock_;
            return;
        case kb::kShift:
            shift_ = true;
            return;
        default:
            break;
    }
    if (key < 0 || key >= kb::kKeyCount || !kb::Keys()[key].plain) return;
    const kb::Key& k = kb::Keys()[key];
    Insert(capsLock_ || shift_ ? k.shifted : k.plain);
    shift_ = false;
    Measure();
}

bool CSPEditCtrl::HitTest(FSPoint p) const {
    const FSSize keyboard = SizeOf(keyboardOff_.get());
    return Inside(p, position_.x, position_.y, position_.x + size_.w, position_.y + size_.h) ||
           Inside(p, kKeyboardAt.x, kKeyboardAt.y, kKeyboardAt.x + keyboard.w, kKeyboardAt.y + keyboard.h);
}

int CSPEditCtrl::HandleAction(int code) {
    if (code == kActionStylusPressed) {
        pressed_ = kb::KeyAt({Stylus().x - kKeyboardAt.x, Stylus().y - kKeyboardAt.y});
        return pressed_ != kb::kNone ? 1 : 0;
    }
    if (code != kActionStylusReleased || pressed_ == kb::kNone) return 0;
    PressKey(pressed_);
    pressed_ = kb::kNone;
    // The screen below must not take the same tap for its own.
    Frame().stylusX = 0;
    Frame().stylusY = 0;
    return 1;
}

void CSPEditCtrl::DrawKeyboard() {
    const bool caps = capsLock_ || shift_;
    const FSBitmap* off = caps ? keyboardCapsOff_.get() : keyboardOff_.get();
    const FSBitmap* on = caps ? keyboardCapsOn_.get() : keyboardOn_.get();
    const uint16_t key = Pack565(0x7B797B);
    DrawKeyed(screen_, kKeyboardAt, off, {0, 0}, SizeOf(off), 0, key);
    const auto light = [&](const kb::Key& k) {
        DrawKeyed(screen_, {kKeyboardAt.x + k.x, kKeyboardAt.y + k.y}, on, {k.x, k.y}, {k.w, kb::kKeyHeight},
                  0, key);
    };
    if (capsLock_) light(kb::Keys()[kb::kCapsLock]);
    if (shift_) light(kb::Keys()[kb::kShift]);
    if (pressed_ >= 0 && pressed_ < kb::kKeyCount) light(kb::Keys()[pressed_]);
    if (pressed_ == kb::kEnter)
        for (const kb::Key& part : kb::EnterKey())
            light(part);
}

void CSPEditCtrl::DrawCursor() {
    const uint32_t now = platform::TickCount();
    if (now - blinkTime_ >= kBlinkMs) {
        blinkOn_ = !blinkOn_;
        blinkTime_ = now;
    }
    const int x = position_.x + 6 + std::min(cursorX_, size_.w - 10) + 2;
    FillMasked(screen_, {x, position_.y + 3}, cursorMask_.get(), {2, size_.h - 6}, blinkOn_ ? kWhite : kRed);
}

void CSPEditCtrl::Draw() {
    DrawKeyed(screen_, position_, field_.get(), {0, 0}, size_, 0, kWhite);
    const int scroll = cursorX_ < size_.w - 10 ? 0 : cursorX_ - size_.w + 10;
    menu_drawing::Text(screen_, font_, kJustifyLeft, {position_.x + 5 - scroll, position_.y + 6}, kWhite,
                       text_,
                       {position_.x + kFrame, position_.y + kFrame, position_.x + size_.w - kFrame,
                        position_.y + size_.h - kFrame});
    DrawKeyboard();
    DrawCursor();
}
