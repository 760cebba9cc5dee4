// Aerovant: the program entry. One copy runs at a time; it opens the window, starts the
// game and runs the main loop until the window is closed or the player quits.
//
// Until the aircraft and route screens exist, the test flight's aircraft and terrain are
// chosen on the command line: aerovant [--aircraft 1-5] [--terrain valley|coast|farmland].
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

namespace {

struct FlightChoice {
    int aircraft = 0;  // 0 Cessna 172R ... 4 Fokker Dr.I
    std::string terrain = "valley.ter";
};

// False (after saying why) for anything but the options above.
bool ParseArguments(int argc, char** argv, FlightChoice& choice) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const std::string value = i + 1 < argc ? argv[i + 1] : "";
        if (option == "--aircraft" && value.size() == 1 && value[0] >= '1' && value[0] <= '5') {
            choice.aircraft = value[0] - '1';
        } else if (option == "--terrain" && (value == "valley" || value == "coast" || value == "farmland")) {
            choice.terrain = value + ".ter";
        } else {
            std::fprintf(stderr,
                         "usage: aerovant [--aircraft 1-5] [--terrain valley|coast|farmland]\n"
                         "  aircraft: 1 Cessna 172R, 2 Su-29, 3 L-29 Delfin, 4 L-13 Blanik, 5 Fokker Dr.I\n");
            return false;
        }
        ++i;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    FlightChoice choice;
    if (!ParseArguments(argc, argv, choice)) return 2;

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
                                  [&choice] {
                                      auto controller = std::make_unique<CSPPlaceholderController>();
                                      controller->SetAircraft(choice.aircraft);
                                      controller->SetTerrain(choice.terrain);
                                      return controller;
                                  }});
        status = shell.Start();
        if (status == 0) status = shell.Run();
    }
    ResetApplicationContext();
    return status;
}
