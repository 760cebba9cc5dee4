#pragma once
// The video screen: the quality preset list (low, medium, high, or custom when the
// settings match none), the way to the advanced screen and the restoring of the defaults.
#include "menu/CSPSettingsStateBase.h"
#include "menu/CSPTextListCtrl.h"
#include "menu/MenuRowList.h"

class CSPMenuStateVideoSettings : public CSPSettingsStateBase {
public:
    enum Entry : int { kLow = 0, kMedium = 1, kHigh = 2, kCustom = 3 };

    explicit CSPMenuStateVideoSettings(CSPMenu& menu);

    int HandleAction(int action) override;
    int Draw(int redraw) override;
    // Enter activates the selected item.
    void Forward() override { ActivateItem(items_.Selected()); }
    int Selected() const { return items_.Selected(); }
    int Preset() const { return presets_.Selected(); }

protected:
    void LoadControls(MenuResources& resources) override;
    void ReadSettings() override;

private:
    void ActivateItem(int item);
    int ListAction(int action);

    MenuRowList items_;
    CSPTextListCtrl presets_;
};
