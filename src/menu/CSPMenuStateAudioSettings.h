#pragma once
// The audio screen: a music and a sound volume slider. Every change reaches the game at
// once, as a volume 0-255.
#include <array>

#include "menu/CSPSettingsStateBase.h"
#include "menu/CSPSmoothSliderCtrl.h"

class CSPMenuStateAudioSettings : public CSPSettingsStateBase {
public:
    explicit CSPMenuStateAudioSettings(CSPMenu& menu);

    int HandleAction(int action) override;
    int Draw(int redraw) override;
    int Focus() const { return focus_; }

protected:
    void LoadControls(MenuResources& resources) override;
    void ReadSettings() override;

private:
    // Hands the slider's volume to the game (music 0, sound 1).
    void Apply(int slider);

    std::array<CSPSmoothSliderCtrl, 2> sliders_;
    int focus_ = 0;
};
