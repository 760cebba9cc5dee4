#pragma once
// The route choice (screen 2): a list of every route by name with the chosen route's
// description below it, a link on to the aircraft choice and one to the weather and time
// of day of the flight. Leaving keeps the chosen route in the application context.
#include <memory>

#include "menu/CSPTextCtrl.h"
#include "menu/CSPTextListCtrl.h"
#include "menu/MSPStylusMenuState.h"
#include "menu/MenuRowList.h"

class MFSMenu;

class CSPMenuStateRouteInfo : public MSPStylusMenuState {
public:
    enum Item { kGoOn, kParameters, kRouteList };

    explicit CSPMenuStateRouteInfo(MFSMenu& menu);

    int HandleAction(int action) override;
    int Draw(int redraw) override;
    void Forward() override;
    void Back() override;
    void Load(MenuResources& resources, int flag) override;
    void Leave(int next, int argument) override;
    void Unload() override;

    int SelectedItem() const { return items_.Selected(); }
    int SelectedRoute() const { return list_ ? list_->Selected() : -1; }
    const CSPTextCtrl* Description() const { return text_.get(); }

private:
    void ShowDescription();
    void ActivateItem(int item);

    MFSMenu& menu_;
    MenuRowList items_;
    FSBitmapHandle background_;
    std::unique_ptr<CSPTextListCtrl> list_;
    std::unique_ptr<CSPTextCtrl> text_;
    int shownRoute_ = -1;
    int cameBackTo_ = kGoOn;  // the item selected when the screen shows next
};
