#pragma once
// The advanced video screen: one row per video setting (resolution, screen size,
// visibility range, the quality levels and the sky), a label on the left and its control
// on the right. Up and down move the focus between the rows; a tap on a label or a
// control focuses its row.
#include <array>

#include "menu/CSPCheckCtrl.h"
#include "menu/CSPDiscreteSliderCtrl.h"
#include "menu/CSPSettingsStateBase.h"
#include "menu/CSPSmoothSliderCtrl.h"
#include "menu/CSPTextListCtrl.h"

class CSPMenuStateVideoAdvancedSettings : public CSPSettingsStateBase {
public:
    enum Row : int {
        kResolution,
        kScreenSize,
        kVisibility,
        kTerrain,
        kTextures,
        kLighting,
        kShadows,
        kEffects,
        kObjects,
        kSky,
        kRowCount
    };

    explicit CSPMenuStateVideoAdvancedSettings(CSPMenu& menu);

    int HandleAction(int action) override;
    int Draw(int redraw) override;
    int Focus() const { return focus_; }

    // The settings for the two slider positions 0..1.
    static float ScreenAspectFor(float slider) { return 0.25f + 0.75f * slider; }
    // The integer part, with room for the rounding of a slider stepped there (a hundred
    // steps of 0.005 fall just short of 0.5).
    static int VisibilityRangeFor(float slider) { return static_cast<int>(33.0f + 32.0f * slider + 1e-3f); }

protected:
    void LoadControls(MenuResources& resources) override;
    void ReadSettings() override;
    void StoreSettings() override;

private:
    MSPMenuCtrls& Control(int row);
    // The video block the controls describe, over base.
    FSVideoBlock Edited(FSVideoBlock base);

    CSPTextListCtrl resolution_;
    CSPSmoothSliderCtrl screenSize_, visibility_;
    // terrain, textures, lighting, shadows, effects, objects
    std::array<CSPDiscreteSliderCtrl, 6> qualities_;
    CSPCheckCtrl sky_;
    int focus_ = 0;
};
