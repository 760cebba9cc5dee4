#pragma once
// The help screen: the game's help text ("help.txt" from "data\help.zip") in a box that
// scrolls both ways.
#include <string>
#include <utility>

#include "menu/CSPSettingsStateBase.h"
#include "menu/CSPTextCtrl.h"

class CSPMenuStateHelp : public CSPSettingsStateBase {
public:
    // archive: where "help.txt" is read from (the game's "data\help.zip" when empty).
    explicit CSPMenuStateHelp(CSPMenu& menu, std::string archive = {});

    int HandleAction(int action) override;
    int Draw(int redraw) override;
    const std::string& Text() const { return text_.Text(); }

protected:
    void LoadControls(MenuResources& resources) override;

private:
    std::string archive_;
    CSPTextCtrl text_;
};
