#pragma once
// A message over a darkened copy of the screen with an "OK" button or "Yes" and "No". The
// box is open while Result() is -1; the owner closes it once a button has been chosen.
#include <string>
#include <vector>

#include "hud/FSFont.h"
#include "menu/MSPMenuCtrls.h"

class CSPMessageBox : public MSPMenuCtrls {
public:
    enum Kind : int { kOk = 1, kYesNo = 2 };
    static constexpr int kMaxText = 255;
    static constexpr FSSize kButton{88, 22};

    using MSPMenuCtrls::MSPMenuCtrls;

    // Loads the window and button pictures from archive ("data\menu.zip" when empty);
    // false when one is missing.
    bool Create(uint16_t* screen, FSPoint position, FSSize size, const CFSFont* textFont,
                const CFSFont* buttonFont, const std::string& archive = {});
    // Keeps a copy of the screen as it is now to draw the box over.
    void Show(uint16_t* screen, const std::string& text, int kind);
    int Result() const { return result_; }
    int Selected() const { return selected_; }
    bool Open() const { return result_ == -1; }

    bool HitTest(FSPoint point) const override;
    // Always 0: the owner reads Result().
    int HandleAction(int code) override;
    void Draw() override;

private:
    int ButtonCount() const { return kind_ == kYesNo ? 2 : 1; }
    FSPoint ButtonAt(int button) const;
    const char* Label(int button) const;

    uint16_t* screen_ = nullptr;
    std::vector<uint16_t> saved_;
    FSPoint position_;
    FSSize size_;
    int selected_ = 0;
    std::string text_;
    int kind_ = kOk;
    FSBitmapHandle window_, buttonOff_, buttonOn_;
    const CFSFont* buttonFont_ = nullptr;
    const CFSFont* textFont_ = nullptr;
    int result_ = -1;
};
