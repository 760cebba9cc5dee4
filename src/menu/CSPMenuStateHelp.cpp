#include "menu/CSPMenuStateHelp.h"

#include "menu/MenuResources.h"
#include "resources/FSArchive.h"

CSPMenuStateHelp::CSPMenuStateHelp(CSPMenu& menu, std::string archive)
    : CSPSettingsStateBase(menu, 16, 0, "states/state_help/help.bmp", false), archive_(std::move(archive)) {}

void CSPMenuStateHelp::LoadControls(MenuResources& r) {
    text_.Init(r.Screen(), &r.mainFont, {10, 40, 310, 230}, {5, 5, 5, 5}, true, true);
    // A missing help file leaves the box empty.
    const FSMemoryBlock help =
        ReadArchiveMember(archive_.empty() ? MakeDataPath("data\\help.zip") : archive_, "help.txt");
    text_.SetText(help ? std::string(help.Text(), help.size) : std::string());
}

int CSPMenuStateHelp::HandleAction(int action) {
    if (MessageAction(action)) return 1;
    if (HandleSharedAction(action, StylusPoint())) return 1;
    return text_.HandleAction(action);
}

int CSPMenuStateHelp::Draw(int redraw) {
    bool box = false;
    const int drawn = DrawFrame(redraw, box);
    if (drawn && !box) text_.Draw();
    return drawn;
}
