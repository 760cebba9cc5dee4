// Aerovant: the program entry. One copy runs at a time; it opens the window, starts the
// game and runs the main loop until the window is closed or the player quits.
#include <cstdio>
#include <memory>
#include <string>

#include "app/FSApplicationContext.h"
#include "app/FSShell.h"
#include "game/CSPPlaceholderController.h"
#include "menu/CSPPlaceholderMenu.h"
#include "platform/FSInstanceLock.h"
#include "platform/FSPaths.h"
#include "platform/FSSdlDisplay.h"

int main() {
    CFSInstanceLock lock;
    if (lock.Acquire(platform::PlayerFolder() + "aerovant.lock") == CFSInstanceLock::Result::Busy) {
        std::fprintf(stderr, "aerovant: already running\n");
        return 0;
    }

    std::string why;
    std::unique_ptr<CFSSdlDisplay> display = CFSSdlDisplay::Open(2, why);
    if (!display) {
        std::fprintf(stderr, "aerovant: cannot open a window (%s)\n", why.c_str());
        return 1;
    }

    int status = 0;
    {
        CFSShell shell(*display, {[] { return std::make_unique<CSPPlaceholderMenu>(); },
                                  [] { return std::make_unique<CSPPlaceholderController>(); }});
        status = shell.Start();
        if (status == 0) status = shell.Run();
    }
    ResetApplicationContext();
    return status;
}
