#pragma once
// A one-line text field with an on-screen keyboard below it. A stylus press picks a key and
// its release types it; caps lock stays until toggled, shift lasts one character. The PC
// keyboard types into the same field. The text never grows beyond 128 characters and the
// cursor always stays within it.
#include <algorithm>
#include <string>

#include "hud/FSFont.h"
#include "menu/MSPMenuCtrls.h"

class CSPEditCtrl : public MSPMenuCtrls {
public:
    static constexpr int kMaxLength = 128;
    static constexpr FSPoint kKeyboardAt{40, 150};
    static constexpr uint32_t kBlinkMs = 500;
    enum class Key { Backspace, Left, Right, Enter };

    using MSPMenuCtrls::MSPMenuCtrls;

    // Loads the keyboard pictures from archive ("data\menu.zip" when empty); false when one
    // is missing (that picture is then not drawn).
    bool Init(uint16_t* screen, FSPoint position, FSSize size, const CFSFont* font,
              const std::string& archive = {});
    const std::string& Text() const { return text_; }
    // Keeps the printable characters, at most the field's length; the cursor goes to the end.
    void SetText(const std::string& text);
    // The most characters the field takes (kMaxLength at most).
    void SetMaxLength(int length) { maxLength_ = std::clamp(length, 0, kMaxLength); }
    bool Done() const { return done_; }
    int Cursor() const { return cursor_; }
    bool CapsLock() const { return capsLock_; }
    bool Shift() const { return shift_; }
    // Empty text, cursor at 0, caps lock and shift off, not done.
    void Reset();

    // From the PC keyboard: a printable ASCII character is inserted at the cursor.
    void TypeCharacter(char c);
    void TypeKey(Key key);

    bool HitTest(FSPoint point) const override;
    int HandleAction(int code) override;
    void Draw() override;

private:
    void Insert(char c);
    void Measure();
    void PressKey(int key);
    void DrawKeyboard();
    void DrawCursor();

    uint16_t* screen_ = nullptr;
    FSPoint position_;
    FSSize size_;
    FSBitmapHandle field_;
    FSBitmapHandle cursorMask_;
    FSBitmapHandle keyboardOff_, keyboardCapsOff_, keyboardOn_, keyboardCapsOn_;
    const CFSFont* font_ = nullptr;
    int pressed_ = -1;
    std::string text_;
    int maxLength_ = kMaxLength;
    int cursor_ = 0;
    bool capsLock_ = false;
    bool shift_ = false;
    int textWidth_ = 0;
    int cursorX_ = 0;
    bool blinkOn_ = false;
    uint32_t blinkTime_ = 0;
    bool done_ = false;
};
