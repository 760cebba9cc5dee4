#include "menu/MenuRoadScreens.h"

#include <memory>

#include "menu/CSPMenu.h"
#include "menu/CSPMenuStateMain.h"
#include "menu/CSPMenuStatePlane.h"
#include "menu/CSPMenuStateProfiles.h"
#include "menu/CSPMenuStateRouteInfo.h"
#include "menu/CSPMenuStateRouteParameters.h"
#include "menu/CSPMenuStateScores.h"

void AddRoadScreens(CSPMenu& menu) {
    menu.SetScreen(0, std::make_unique<CSPMenuStateMain>(menu));
    menu.SetScreen(2, std::make_unique<CSPMenuStateRouteInfo>(menu));
    menu.SetScreen(3, std::make_unique<CSPMenuStateRouteParameters>(menu));
    menu.SetScreen(4, std::make_unique<CSPMenuStatePlane>(menu));
    menu.SetScreen(7, std::make_unique<CSPMenuStateScores>(menu));
    menu.SetScreen(8, std::make_unique<CSPMenuStateProfiles>(menu));
}
