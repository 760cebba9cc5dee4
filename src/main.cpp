// Aerovant: the program entry. One copy runs at a time; it opens the window, starts the
// game and runs the main loop until the window is closed or the player quits.
//
// The menu chooses route, aircraft and pilot; aerovant --route N [--aircraft 1-5] starts
// that flight at once (the menu offers the same choice afterwards); aerovant --headless …
// flies one without a window (FSHeadlessRun.h); aerovant --replay FILE flies a recorded
// flight again (the "replays" folder of the player's files keeps the last twenty).
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "FSHeadlessRun.h"
#include "app/FSApplicationContext.h"
#include "app/FSFlightRecording.h"
#include "app/FSRunStats.h"
#include "app/FSSettingsFile.h"
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

constexpr char kHelp[] =
    "Usage: aerovant [--route N [--aircraft N]] [--replay FILE]\n"
    "       aerovant --headless (--route N | --replay FILE) [options of the headless flight]\n"
    "Aerovant: fly a route through its gates, past its obstacles and sometimes down to a\n"
    "landing, against the clock and for a place in the route's score table.\n"
    "\n"
    "In the window:\n"
    "  --route N             start on route N (1-999) at once instead of in the menu\n"
    "  --aircraft N          the aircraft of that flight: 1 Cessna 172R, 2 Su-29,\n"
    "                        3 L-29 Delfin, 4 L-13 Blanik, 5 Fokker Dr.I (default 1)\n"
    "  --replay FILE         replay a recorded flight (the last 20 flights are kept in\n"
    "                        the \"replays\" folder beside settings.bin)\n"
    "  --help                show this help and leave\n"
    "  --version             show the version and leave\n"
    "\n"
    "Without a window (tests, tools, a machine with no screen):\n"
    "  --headless            fly one flight (or replay one) and print its result line\n"
    "  --pilot autopilot|instructor|script FILE\n"
    "                        who flies it (default: nobody touches the controls)\n"
    "  --frames N            give up after N passes of 1/60 s (default 30000)\n"
    "  --shots-every K --out DIR\n"
    "                        a PNG picture every K passes into DIR\n"
    "  --player DIR          the folder of settings.bin and scores.dat\n"
    "  --align 0|1|2         the flight's screen orientation\n"
    "  --view chase|cockpit  the view the flight starts in\n"
    "\n"
    "Keys: the arrows steer and move in the menus, Enter or Space acts, 1-5 are the\n"
    "game's buttons, Escape goes back, F11 or Alt+Enter fills the screen, F12 saves a\n"
    "picture of the screen. A gamepad or a flight stick steers as well.\n";

// Says what was wrong with the command line; the program then exits 2.
bool BadArgument(const std::string& what) {
    std::fprintf(stderr, "aerovant: %s\nTry 'aerovant --help' for the options.\n", what.c_str());
    return false;
}

// False (after saying why) for anything but the options above.
bool ParseArguments(int argc, char** argv, FlightChoice& choice) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const std::string value = i + 1 < argc ? argv[i + 1] : "";
        if (option == "--aircraft") {
            if (WholeNumberArgument(value, 1, 5) < 1)
                return BadArgument("--aircraft needs a number from 1 to 5");
            choice.aircraft = WholeNumberArgument(value, 1, 5) - 1;
        } else if (option == "--route") {
            if (WholeNumberArgument(value, 1, 999) < 1)
                return BadArgument("--route needs a number from 1 to 999");
            choice.route = WholeNumberArgument(value, 1, 999) - 1;
        } else if (option == "--replay") {
            if (value.empty()) return BadArgument("--replay needs the file of a recorded flight");
            choice.replay = value;
        } else {
            return BadArgument("unknown option '" + option + "'");
        }
        ++i;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    // The window benchmark's figures (bench/window-flight.sh), counted from here.
    std::unique_ptr<CFSRunStats> stats;
    if (const char* path = std::getenv("AEROVANT_STATS"); path && *path)
        stats = std::make_unique<CFSRunStats>(path);
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            std::fputs(kHelp, stdout);
            return 0;
        }
        if (option == "--version") {
            std::printf("aerovant %s\n", AEROVANT_VERSION);
            return 0;
        }
    }
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

    // The window opens as the player left it: full screen or not.
    FSSettings saved;
    ReadSettingsFile(SettingsFilePath(), saved);
    std::string why;
    std::unique_ptr<CFSSdlDisplay> display = CFSSdlDisplay::Open(2, why, saved.fullScreen != 0);
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
        GetApplicationContext()->runStats = stats.get();
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
