#pragma once
// A one-line list selector: the chosen entry between a left and a right arrow. Left and
// right (or a tap on an arrow) step through the entries, wrapping round when asked to.
#include <optional>
#include <string>
#include <vector>

#include "hud/FSFont.h"
#include "menu/MSPMenuCtrls.h"

class CSPTextListCtrl : public MSPMenuCtrls {
public:
    // Taps on an arrow closer together than this count once.
    static constexpr uint32_t kTapIntervalMs = 301;

    using MSPMenuCtrls::MSPMenuCtrls;

    void Init(uint16_t* screen, FSPoint position, int width, const CFSFont* font,
              std::vector<std::string> entries, bool wrap);
    // -1 for an empty list.
    int Selected() const { return entries_.empty() ? -1 : selected_; }
    // Ignored outside the list.
    void SetSelected(int index);
    const std::vector<std::string>& Entries() const { return entries_; }

    bool HitTest(FSPoint point) const override;
    int HandleAction(int code) override;
    void Draw() override;

private:
    int Step(int direction);

    const CFSFont* font_ = nullptr;
    std::vector<std::string> entries_;
    uint16_t* screen_ = nullptr;
    FSPoint position_;
    int width_ = 0;
    bool wrap_ = false;
    int selected_ = 0;
    FSClipRect leftArrow_;
    FSClipRect rightArrow_;
    std::optional<uint32_t> lastTap_;
};
