#include "menu/CSPMenuStateGameSettings.h"

#include "app/FSApplicationContext.h"
#include "app/FSSettingsPresets.h"
#include "base/FSActions.h"
#include "menu/MenuDrawing.h"
#include "menu/MenuResources.h"

namespace {

constexpr FSClipRect kLabels[] = {
    {60, 52, 150, 71}, {63, 86, 150, 109}, {14, 120, 150, 145}, {28, 158, 150, 179}, {52, 189, 150, 212}};
const char* const kLabelTexts[] = {"screen\norientation", "joystick\nsensitivity",
                                   "roll/pitch\nsensitivity ratio", "touch screen\ncontrol",
                                   "touch screen\nsensitivity"};
const FSSettingRange<float>* const kRanges[] = {&kJoystickSensitivityRange, &kXySensitivityRange,
                                                &kTouchscreenSensitivityRange};
constexpr int kControlX = 160;
constexpr int kLength = 135;
constexpr uint16_t kWhite = 0xFFFF;

// The middle of a label's rectangle, where its control sits.
int ControlTop(int row) {
    return (kLabels[row].top + kLabels[row].bottom) / 2 - 6;
}

}  // namespace

CSPMenuStateGameSettings::CSPMenuStateGameSettings(CSPMenu& menu)
    : CSPSettingsStateBase(menu, 14, 9, "states/state_game/game.bmp", true) {}

void CSPMenuStateGameSettings::LoadControls(MenuResources& r) {
    uint16_t* screen = r.Screen();
    orientation_.Init(screen, {kControlX, ControlTop(kOrientation)}, kLength, &r.listFont,
                      {"portrait", "left-handed\nlandscape", "right-handed\nlandscape"}, false);
    touchControl_.Init(screen, {kControlX, ControlTop(kTouchControl)}, kLength, &r.listFont, {"off", "on"},
                       false);
    const int sliderRows[] = {kJoystick, kRatio, kTouchSensitivity};
    for (int i = 0; i < 3; ++i)
        sliders_[i].Init(screen, {kControlX, ControlTop(sliderRows[i])}, kLength, 0,
                         MenuResources::kSliderStep);
    focus_ = 0;
}

MSPMenuCtrls& CSPMenuStateGameSettings::Control(int row) {
    switch (row) {
        case kOrientation:
            return orientation_;
        case kJoystick:
            return sliders_[0];
        case kRatio:
            return sliders_[1];
        case kTouchControl:
            return touchControl_;
        default:
            return sliders_[2];
    }
}

bool CSPMenuStateGameSettings::RowShown(int row) const {
    return row != kTouchSensitivity || touchControl_.Selected() == 1;
}

void CSPMenuStateGameSettings::ReadSettings() {
    const FSGameBlock& g = GetApplicationContext()->game;
    orientation_.SetSelected(g.screenAlign);
    touchControl_.SetSelected(g.touchscreenScheme ? 1 : 0);
    const float values[] = {g.joystickSensitivity, g.xySensitivity, g.touchscreenSensitivity};
    for (int i = 0; i < 3; ++i)
        sliders_[i].SetValue(SliderFromSensitivity(*kRanges[i], values[i]));
}

void CSPMenuStateGameSettings::StoreSettings() {
    // The applied copy the controller compares with stays as it is, so the next flight
    // sees what changed here.
    FSGameBlock& g = GetApplicationContext()->game;
    g.screenAlign = orientation_.Selected();
    g.touchscreenScheme = touchControl_.Selected();
    g.joystickSensitivity = SensitivityFromSlider(*kRanges[0], sliders_[0].Value());
    g.xySensitivity = SensitivityFromSlider(*kRanges[1], sliders_[1].Value());
    g.touchscreenSensitivity = SensitivityFromSlider(*kRanges[2], sliders_[2].Value());
    DeriveControlGains(g);
}

void CSPMenuStateGameSettings::MoveFocus(int step) {
    do {
        focus_ = (focus_ + step + kRowCount) % kRowCount;
    } while (!RowShown(focus_));
}

int CSPMenuStateGameSettings::HandleAction(int action) {
    if (MessageAction(action)) return 1;
    const FSPoint stylus = StylusPoint();
    if (HandleSharedAction(action, stylus)) return 1;
    if (action == kActionUp || action == kActionDown) {
        MoveFocus(action == kActionUp ? -1 : 1);
        return 1;
    }
    if (action == kActionStylusPressed) {
        for (int row = 0; row < kRowCount; ++row) {
            const FSClipRect& r = kLabels[row];
            if (RowShown(row) && (menu_drawing::Inside(stylus, r.left, r.top, r.right, r.bottom) ||
                                  Control(row).HitTest(stylus)))
                focus_ = row;
        }
    }
    const int changed = Control(focus_).HandleAction(action);
    if (!RowShown(focus_)) MoveFocus(-1);
    return changed;
}

int CSPMenuStateGameSettings::Draw(int redraw) {
    bool box = false;
    const int drawn = DrawFrame(redraw, box);
    if (!drawn || box) return drawn;
    MenuResources& r = *Resources();
    for (int row = 0; row < kRowCount; ++row) {
        if (!RowShown(row)) continue;
        const uint16_t colour = row == focus_ ? 0xFFE0 : kWhite;  // the focused row in yellow
        menu_drawing::Text(r.Screen(), &r.linksFont, kJustifyRight, {kLabels[row].right, kLabels[row].top},
                           colour, kLabelTexts[row]);
        Control(row).Draw();
    }
    return drawn;
}
