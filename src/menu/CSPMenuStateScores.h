#pragma once
// The score table (screen 7): every route by name with its pilots' best scores below it,
// scrolled with a standing bar. A press on the clear link removes every record (the routes
// stay) and saves the emptied table.
#include <memory>
#include <string>
#include <vector>

#include "hud/FSFont.h"
#include "menu/CSPScrollerCtrl.h"
#include "menu/MSPStylusMenuState.h"

class MFSMenu;

class CSPMenuStateScores : public MSPStylusMenuState {
public:
    static constexpr FSClipRect kListArea{26, 58, 300, 216};
    static constexpr FSClipRect kClearLink{114, 225, 188, 236};

    explicit CSPMenuStateScores(MFSMenu& menu);

    int HandleAction(int action) override;
    int Draw(int redraw) override;
    void Forward() override {}
    void Back() override;
    void Load(MenuResources& resources, int flag) override;
    void Unload() override;

    // One line of the list: x, text.
    struct Line {
        int x;
        std::string text;
    };
    // The lines the table gives, top to bottom.
    static std::vector<Line> TableLines();
    // Removes every record and saves "scores.dat"; false (the records kept) when the save
    // failed.
    static bool ClearScores();

private:
    int LineHeight() const;
    void UpdateRange();

    MFSMenu& menu_;
    FSBitmapHandle background_;
    std::unique_ptr<CSPScrollerCtrl> scroller_;
    std::vector<Line> lines_;
};
