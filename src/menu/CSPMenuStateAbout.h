#pragma once
// The about screen: its picture says it all.
#include "menu/CSPSettingsStateBase.h"

class CSPMenuStateAbout : public CSPSettingsStateBase {
public:
    explicit CSPMenuStateAbout(CSPMenu& menu);

    int HandleAction(int action) override;
    int Draw(int redraw) override;
};
