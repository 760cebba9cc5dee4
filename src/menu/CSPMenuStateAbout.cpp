#include "menu/CSPMenuStateAbout.h"

CSPMenuStateAbout::CSPMenuStateAbout(CSPMenu& menu)
    : CSPSettingsStateBase(menu, 15, 0, "states/state_about/about.bmp", false) {}

int CSPMenuStateAbout::HandleAction(int action) {
    if (MessageAction(action)) return 1;
    return HandleSharedAction(action, StylusPoint());
}

int CSPMenuStateAbout::Draw(int redraw) {
    bool box = false;
    return DrawFrame(redraw, box);
}
