#pragma once
// The game screen: the flight's screen orientation, the three control sensitivities and
// the touch screen control. The touch sensitivity row exists only while the touch screen
// control is on.
#include <array>

#include "menu/CSPSettingsStateBase.h"
#include "menu/CSPSmoothSliderCtrl.h"
#include "menu/CSPTextListCtrl.h"

class CSPMenuStateGameSettings : public CSPSettingsStateBase {
public:
    enum Row : int { kOrientation, kJoystick, kRatio, kTouchControl, kTouchSensitivity, kRowCount };

    explicit CSPMenuStateGameSettings(CSPMenu& menu);

    int HandleAction(int action) override;
    int Draw(int redraw) override;
    int Focus() const { return focus_; }
    bool RowShown(int row) const;

protected:
    void LoadControls(MenuResources& resources) override;
    void ReadSettings() override;
    void StoreSettings() override;

private:
    MSPMenuCtrls& Control(int row);
    void MoveFocus(int step);

    CSPTextListCtrl orientation_, touchControl_;
    std::array<CSPSmoothSliderCtrl, 3> sliders_;  // joystick, roll/pitch ratio, touch
    int focus_ = 0;
};
