#pragma once
// The settings menu: four items leading to the audio, video, controls and game screens.
#include "menu/CSPSettingsStateBase.h"
#include "menu/MenuRowList.h"

class CSPMenuStateSettings : public CSPSettingsStateBase {
public:
    explicit CSPMenuStateSettings(CSPMenu& menu);

    int HandleAction(int action) override;
    int Draw(int redraw) override;
    // Enter opens the selected item.
    void Forward() override;
    int Selected() const { return items_.Selected(); }

protected:
    void ReadSettings() override { items_.Disarm(); }

private:
    MenuRowList items_;
};
