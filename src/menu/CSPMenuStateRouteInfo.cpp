#include "menu/CSPMenuStateRouteInfo.h"

#include <algorithm>

#include "app/FSMenu.h"
#include "base/FSActions.h"
#include "game/CSPGameController.h"
#include "game/CSPRoute.h"
#include "menu/MenuResources.h"
#include "menu/MenuScreenSupport.h"

namespace {

// The description box and the width its lines may take (inside the margins, beside the bar).
constexpr FSClipRect kTextBox{20, 135, 300, 230};
constexpr int kMargin = 5;
constexpr int kTextWidth = kTextBox.right - kTextBox.left - 13 - 2 * kMargin;

std::vector<MenuRow> RouteItems() {
    return {{{40, 50, 179, 59}, {23, 48}, true},
            {{40, 69, 209, 78}, {23, 67}, true},
            {{110, 105, 150, 112}, {93, 102}, true}};
}

std::vector<std::string> RouteNames() {
    const CSPGameController* game = menu_screens::GameController();
    const int count = game ? game->RouteCount() : 0;
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        std::string name = CSPRoute::GetRouteName(i);
        names.push_back(name.empty() ? "Route " + std::to_string(i + 1) : name);
    }
    return names;
}

}  // namespace

CSPMenuStateRouteInfo::CSPMenuStateRouteInfo(MFSMenu& menu)
    : MSPStylusMenuState(2, true, true, true), menu_(menu), items_(RouteItems()) {}

void CSPMenuStateRouteInfo::Load(MenuResources& r, int) {
    background_ = menu_screens::LoadMenuPicture("states/state_route_info/route_selection.bmp");
    list_ = std::make_unique<CSPTextListCtrl>();
    list_->Init(r.Screen(), {165, 104}, 135, &r.mainFont, RouteNames(), false);
    list_->SetSelected(GetApplicationContext()->chosenRoute);
    text_ = std::make_unique<CSPTextCtrl>();
    text_->Init(r.Screen(), &r.mainFont, kTextBox, {kMargin, kMargin, kMargin, kMargin}, false, true);
    shownRoute_ = -1;
    ShowDescription();
    // Back from the weather page, the pointer stays on its link.
    items_.Select(cameBackTo_);
    cameBackTo_ = kGoOn;
}

void CSPMenuStateRouteInfo::Leave(int next, int argument) {
    if (list_ && list_->Selected() >= 0) GetApplicationContext()->chosenRoute = list_->Selected();
    cameBackTo_ = next == 3 ? kParameters : kGoOn;
    MSPStylusMenuState::Leave(next, argument);
}

void CSPMenuStateRouteInfo::Unload() {
    background_.reset();
    list_.reset();
    text_.reset();
}

void CSPMenuStateRouteInfo::ShowDescription() {
    if (!list_ || !text_ || list_->Selected() == shownRoute_) return;
    shownRoute_ = list_->Selected();
    const MenuResources* r = Resources();
    const std::string text = shownRoute_ >= 0
                                 ? menu_screens::JoinProse(CSPRoute::GetRouteDescription(shownRoute_))
                                 : std::string();
    text_->SetText(r ? menu_screens::WrapText(r->mainFont, text, kTextWidth) : text);
}

int CSPMenuStateRouteInfo::HandleAction(int action) {
    if (!list_) return 0;
    const FSPoint stylus = menu_screens::Stylus();
    if (HandleSharedAction(action, stylus)) return 1;
    switch (action) {
        case kActionUp:
            items_.Move(-1);
            return 1;
        case kActionDown:
            items_.Move(1);
            return 1;
        case kActionStylusPressed:
            if (const int item = items_.ItemAt(stylus); item == kGoOn || item == kParameters) {
                items_.Press(stylus, menu_screens::Now());
                return 1;
            } else if (item == kRouteList) {
                items_.Select(kRouteList);
                return 1;
            }
            break;
        default:
            break;
    }
    int used = text_->HandleAction(action);
    if (items_.Selected() == kRouteList) {
        used |= list_->HandleAction(action);
        ShowDescription();
    }
    return used;
}

void CSPMenuStateRouteInfo::Forward() {
    // Enter on the parameters link follows it; anywhere else it goes on.
    ActivateItem(items_.Selected() == kParameters ? kParameters : kGoOn);
}

void CSPMenuStateRouteInfo::Back() {
    menu_.SwitchScreen(0, 0);
}

void CSPMenuStateRouteInfo::ActivateItem(int item) {
    menu_.SwitchScreen(item == kParameters ? 3 : 4, 0);
}

int CSPMenuStateRouteInfo::Draw(int redraw) {
    MenuResources* r = Resources();
    if (!r || !list_) return 0;
    if (const int due = items_.TakeDue(menu_screens::Now()); due >= 0) {
        ActivateItem(due);
        return 0;
    }
    if (!DrawBackground(redraw, background_.get())) return 0;
    list_->Draw();
    text_->Draw();
    items_.DrawPointer(*r);
    return 1;
}
