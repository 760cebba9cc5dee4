// aerovant-stick-check: the game in its real window, flown by a flight stick made in
// software. The stick is plugged in during the flight, held at a few positions for a
// second each, and what the aircraft did is printed (aileron and bank) with a picture of
// each position, so a person can see that the window's own device path steers in
// proportion.
//
//   aerovant-stick-check [--route N] [--out DIR]
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSScreenshot.h"
#include "app/FSShell.h"
#include "game/CSPAircraft.h"
#include "game/CSPGameController.h"
#include "menu/CSPMenu.h"
#include "platform/FSClock.h"
#include "platform/FSPaths.h"
#include "platform/FSSdlDisplay.h"
#include "platform/FSVirtualStick.h"

namespace {

constexpr float kDegrees = 57.29578f;

// Passes of the main loop for about seconds of real time, paced as the game paces them.
bool RunFor(CFSShell& shell, float seconds) {
    const uint32_t start = platform::TickCount();
    while (platform::TickCount() - start < static_cast<uint32_t>(seconds * 1000.0f)) {
        if (!shell.RunPass()) return false;
        platform::Sleep(1000 / kPacedFramesPerSecond);
    }
    return true;
}

void WriteShot(const MFSDisplay& display, const std::string& path) {
    if (!WriteUprightPng(display, path, 1))
        std::fprintf(stderr, "aerovant-stick-check: cannot write %s\n", path.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    int route = 2;
    std::string out = ".";
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--route") route = std::atoi(argv[i + 1]);
        if (option == "--out") out = argv[i + 1];
    }
    platform::SetPlayerFolder(out + "/player");
    std::string why;
    std::unique_ptr<CFSSdlDisplay> display = CFSSdlDisplay::Open(2, why);
    if (!display) {
        std::fprintf(stderr, "aerovant-stick-check: no window (%s)\n", why.c_str());
        return 1;
    }
    int status = 0;
    {
        CSPGameController* game = nullptr;
        CFSShell shell(*display, {[] { return std::make_unique<CSPMenu>(); },
                                  [&game] {
                                      auto controller =
                                          std::make_unique<CSPGameController>(CountRouteFiles());
                                      game = controller.get();
                                      return controller;
                                  }});
        if (shell.Start() != 0 || !game || route < 1 || route > game->RouteCount()) return 1;
        game->SetRoute(route - 1);
        shell.Context().chosenRoute = route - 1;
        game->RunFlightStart();
        RunFor(shell, 2.0f);  // the warm-up, hands off
        CFSVirtualStick stick(why);
        if (!stick.IsPlugged()) {
            std::fprintf(stderr, "aerovant-stick-check: no virtual stick (%s)\n", why.c_str());
            return 1;
        }
        // The lever stays where it was plugged in: it sets nothing until it moves.
        RunFor(shell, 0.2f);  // the window finds the device
        std::printf("device: %s\n", display->Stick().name.c_str());
        // Half over and back, then full over and back for half as long: the same bank.
        const struct {
            float x, seconds;
        } holds[] = {{0.0f, 1.0f},  {-0.5f, 1.0f}, {0.5f, 1.0f}, {0.0f, 1.0f},
                     {-1.0f, 0.5f}, {1.0f, 0.5f},  {0.0f, 1.0f}};
        int shot = 0;
        for (const auto [x, seconds] : holds) {
            stick.SetAxis(0, x);
            CSPAircraft* aircraft = game->Aircraft();
            float pitch = 0.0f;
            float bankBefore = 0.0f;
            if (aircraft) aircraft->Attitude(pitch, bankBefore);
            if (!RunFor(shell, seconds) || !(aircraft = game->Aircraft())) {
                status = 1;
                break;
            }
            float bank = 0.0f;
            aircraft->Attitude(pitch, bank);
            const float travel = x < 0 ? -aircraft->RollMin() : aircraft->RollMax();
            std::printf("stick x %+.2f for %.1f s: aileron %+.2f of its travel, bank %+.1f deg (%+.1f deg)\n",
                        x, seconds, travel != 0.0f ? aircraft->GetRollControl() / std::fabs(travel) : 0.0f,
                        bank * kDegrees, (bank - bankBefore) * kDegrees);
            WriteShot(*display, out + "/stick-" + std::to_string(shot++) + ".png");
        }
    }
    ResetApplicationContext();
    return status;
}
