#include "menu/MenuSettingsScreens.h"

#include <memory>

#include "menu/CSPMenu.h"
#include "menu/CSPMenuStateAbout.h"
#include "menu/CSPMenuStateAudioSettings.h"
#include "menu/CSPMenuStateControlsSettings.h"
#include "menu/CSPMenuStateGameSettings.h"
#include "menu/CSPMenuStateHelp.h"
#include "menu/CSPMenuStateSettings.h"
#include "menu/CSPMenuStateVideoAdvancedSettings.h"
#include "menu/CSPMenuStateVideoSettings.h"

void AddSettingsScreens(CSPMenu& menu) {
    menu.SetScreen(9, std::make_unique<CSPMenuStateSettings>(menu));
    menu.SetScreen(10, std::make_unique<CSPMenuStateAudioSettings>(menu));
    menu.SetScreen(11, std::make_unique<CSPMenuStateVideoSettings>(menu));
    menu.SetScreen(12, std::make_unique<CSPMenuStateVideoAdvancedSettings>(menu));
    menu.SetScreen(13, std::make_unique<CSPMenuStateControlsSettings>(menu));
    menu.SetScreen(14, std::make_unique<CSPMenuStateGameSettings>(menu));
    menu.SetScreen(15, std::make_unique<CSPMenuStateAbout>(menu));
    menu.SetScreen(16, std::make_unique<CSPMenuStateHelp>(menu));
}
