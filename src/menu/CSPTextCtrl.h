#pragma once
// A box of white text that scrolls under a lying and a standing scroll bar when the text
// is larger than the box.
#include <string>

#include "menu/CSPScrollerCtrl.h"

#include "hud/FSFont.h"

class CSPTextCtrl : public MSPMenuCtrls {
public:
    explicit CSPTextCtrl(FSFrameValues& frame = GetApplicationContext()->frame)
        : MSPMenuCtrls(frame), horizontal_(frame), vertical_(frame) {}

    // rectangle and margins as (left, top, right, bottom).
    void Init(uint16_t* screen, const CFSFont* font, FSClipRect rectangle, FSClipRect margins,
              bool horizontalBar, bool verticalBar);
    void SetFrame(bool frame) { frame_ = frame; }
    void SetText(const std::string& text);
    const std::string& Text() const { return text_; }
    CSPScrollerCtrl& HorizontalBar() { return horizontal_; }
    CSPScrollerCtrl& VerticalBar() { return vertical_; }

    bool HitTest(FSPoint point) const override;
    int HandleAction(int code) override;
    void Draw() override;

private:
    // The rectangle the text shows in: inside the margins and clear of the shown bars.
    FSClipRect Inner() const;

    uint16_t* screen_ = nullptr;
    FSClipRect rectangle_;
    FSClipRect margins_;
    const CFSFont* font_ = nullptr;
    bool verticalShown_ = false;
    bool horizontalShown_ = false;
    bool frame_ = false;
    FSSize textSize_;
    CSPScrollerCtrl horizontal_;
    CSPScrollerCtrl vertical_;
    std::string text_;
};
