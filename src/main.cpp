// Aerovant: the program entry. One copy runs at a time; it opens the window, starts the
// game and runs the main loop until the window is closed or the player quits.
//
// The menu chooses route, aircraft and pilot; aerovant --route N [--aircraft 1-5] starts
// that flight at once (the menu offers the same choice afterwards); aerovant --headless …
// flies one without a window (FSHeadlessRun.h); aerovant --replay FILE flies a recorded
// flight again (the "replays" folder of the player's files keeps the last twenty).
#include <cstdio>
#include <memory>
#include <string>

#include "FSHeadlessRun.h"
#include "app/FSApplicationContext.h"
#include "app/FSFlightRecording.h"
#include "app/FSShell.h"
#include "app/FSStartupCheck.h"
#include "game/CSPGameController.h"
#include "menu/CSPMenu.h"
#include "platform/FSInstanceLock.h"
#include "platform/FSPaths.h"
#include "platform/FSSdlDisplay.h"

namespace {

struct FlightChoice {
    int route = -1;      // 0 = "Route1.txt"; -1 shows the menu first
    int aircraft = 0;    // 0 Cessna 172R ... 4 Fokker Dr.I
    std::string replay;  // a flight recording to replay instead
};

// False (after saying why) for anything but the options above.
bool ParseArguments(int argc, char** argv, FlightChoice& choice) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const std::string value = i + 1 < argc ? argv[i + 1] : "";
        if (option == "--aircraft" && WholeNumberArgument(value, 1, 5) > 0) {
            choice.aircraft = WholeNumberArgument(value, 1, 5) - 1;
        } else if (option == "--route" && WholeNumberArgument(value, 1, 999) > 0) {
            choice.route = WholeNumberArgument(value, 1, 999) - 1;
        } else if (option == "--replay" && !value.empty()) {
            choice.replay = value;
        } else {
            std::fprintf(stderr,
                         "usage: aerovant [--route N] [--aircraft 1-5] [--replay FILE]\n"
                         "  aircraft: 1 Cessna 172R, 2 Su-29, 3 L-29 Delfin, 4 L-13 Blanik, 5 Fokker Dr.I\n");
            return false;
        }
        ++i;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // Without its data or its decoder library the game could only fail later, and less
    // clearly: it says what is missing and stops.
    const std::string missing = MissingGameFiles();
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) != "--headless") continue;
        if (!missing.empty()) {
            std::fprintf(stderr, "Aerovant: %s\n", missing.c_str());
            return 1;
        }
        return RunHeadless(argc, argv);
    }
    FlightChoice choice;
    if (!ParseArguments(argc, argv, choice)) return 2;
    auto recording = std::make_shared<FSFlightRecording>();
    std::string replayError;
    if (!choice.replay.empty() && !LoadRecordingFile(choice.replay, *recording, replayError)) {
        CFSSdlDisplay::ShowMessageWithoutWindow("Aerovant", replayError);
        return 2;
    }
    if (!missing.empty()) {
        CFSSdlDisplay::ShowMessageWithoutWindow("Aerovant", missing);
        return 1;
    }

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
        CSPGameController* game = nullptr;
        CFSShell shell(*display, {[] { return std::make_unique<CSPMenu>(); },
                                  [&choice, &game] {
                                      auto controller =
                                          std::make_unique<CSPGameController>(CountRouteFiles());
                                      controller->SetAircraft(choice.aircraft);
                                      game = controller.get();
                                      return controller;
                                  }});
        status = shell.Start();
        if (status == 0) shell.Context().chosenAircraft = choice.aircraft;
        if (status == 0 && game && !choice.replay.empty()) {
            if (!game->StartReplay(recording, replayError)) {
                display->ShowMessage("Aerovant", "This flight cannot be replayed: " + replayError);
                status = 1;
            }
        } else if (status == 0 && game && choice.route >= 0) {
            if (choice.route >= game->RouteCount()) {
                std::fprintf(stderr, "aerovant: there are %d routes\n", game->RouteCount());
                status = 2;
            } else {
                game->SetRoute(choice.route);
                shell.Context().chosenRoute = choice.route;
                game->RunFlightStart();
            }
        }
        if (status == 0) status = shell.Run();
    }
    ResetApplicationContext();
    return status;
}
