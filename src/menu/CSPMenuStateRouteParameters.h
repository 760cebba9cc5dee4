#pragma once
// The weather and time of day of the next flight (screen 3): pages for the time of day,
// the clouds, the wind and the weather, and one that puts the defaults back. Up and down
// choose a page; enter (or right) goes into its controls and enter comes back out. The
// route block of the application context follows every change; leaving writes the
// settings file.
#include <memory>
#include <string>
#include <vector>

#include "menu/CSPSmoothSliderCtrl.h"
#include "menu/CSPTextListCtrl.h"
#include "menu/MSPStylusMenuState.h"
#include "menu/MenuRowList.h"

class MFSMenu;

class CSPMenuStateRouteParameters : public MSPStylusMenuState {
public:
    enum Page { kTimeOfDay, kCloudiness, kWind, kWeather, kDefaults, kPageCount };

    explicit CSPMenuStateRouteParameters(MFSMenu& menu);

    int HandleAction(int action) override;
    int Draw(int redraw) override;
    void Forward() override;
    void Back() override;
    void Load(MenuResources& resources, int flag) override;
    void Leave(int next, int argument) override;
    void Unload() override;

    int SelectedPage() const { return pages_.Selected(); }
    bool Editing() const { return editing_; }
    int FocusedControl() const { return focus_; }
    // Whether the precipitation slider is shown (not with the weather type "none").
    bool PrecipitationShown() const;

private:
    struct Row {
        std::string label;
        MSPMenuCtrls* control;
    };
    // The controls of the shown page, top to bottom.
    std::vector<Row> Rows() const;
    FSClipRect LabelRect(int row, const std::string& label) const;
    void ReadSettings();
    void StoreSettings();
    void RestoreDefaults();
    void MoveFocus(int step);

    MFSMenu& menu_;
    MenuRowList pages_;
    FSBitmapHandle background_;
    std::unique_ptr<CSPTextListCtrl> dayTime_, windStrength_, windDirection_, weatherType_;
    std::unique_ptr<CSPSmoothSliderCtrl> cloudiness_, precipitations_;
    bool editing_ = false;
    int focus_ = 0;
};
