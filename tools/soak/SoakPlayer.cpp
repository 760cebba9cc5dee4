#include "soak/SoakPlayer.h"

#include "FSHeadlessRun.h"
#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "app/FSShell.h"
#include "menu/CSPMenu.h"
#include "menu/CSPMenuStateMain.h"
#include "menu/CSPMenuStatePlane.h"
#include "menu/CSPMenuStateRouteInfo.h"
#include "pilot/ScriptedPilot.h"

namespace {

enum Pad { kAction = 0, kLeft = 1, kRight = 2, kUp = 3, kDown = 4 };

// The menu takes a step up or down at most every 300 ms: a tap and its wait are 20 passes.
constexpr int kTapPasses = 20;

// Routes (0-based) that start in the air, and those that start on a runway.
constexpr int kAirStarts[] = {1, 4, 5, 6};
constexpr int kRunwayStarts[] = {0, 2, 3, 7};
// The aircraft that hops off a runway and down again: the Fokker, which lifts off slowly
// (the others leave the ground fast, nose rising, and the throttle chord that takes the
// power off holds the pad keys to other controls meanwhile).
constexpr int kHoppers[] = {4};

template <class T, size_t N>
int Pick(const T (&list)[N], int n) {
    return static_cast<int>(list[static_cast<size_t>(n) % N]);
}

}  // namespace

const char* SoakExitName(SoakExit exit) {
    switch (exit) {
        case SoakExit::Crash:
            return "crash";
        case SoakExit::Landing:
            return "landing";
        case SoakExit::Quit:
            return "quit";
        default:
            return "other";
    }
}

SoakFlightPlan PlanSoakFlight(int n, int routeCount) {
    SoakFlightPlan plan;
    const int turn = n / 3;
    switch (n % 3) {
        case 0:
            plan.exit = SoakExit::Quit;
            // From the seventh route on: the crashes and the landings come to the seventh
            // and the eighth last, and so by flight 10 every route has been flown once.
            plan.route = routeCount > 0 ? (turn + 6) % routeCount : 0;
            plan.aircraft = turn % CSPMenuStatePlane::kAircraftCount;
            plan.quitAfter = 100 + (n * 37) % 300;
            break;
        case 1:
            plan.exit = SoakExit::Crash;
            plan.route = Pick(kAirStarts, turn);
            plan.aircraft = turn % CSPMenuStatePlane::kAircraftCount;
            break;
        default:
            plan.exit = SoakExit::Landing;
            plan.route = Pick(kRunwayStarts, turn);
            plan.aircraft = Pick(kHoppers, turn);
            break;
    }
    if (plan.route >= routeCount) plan.route = 0;
    return plan;
}

SoakFlightResult CSPSoakPlayer::Fly(const SoakFlightPlan& plan) {
    SoakFlightResult result;
    if (!ChooseInMenu(plan, result)) return result;
    result.flown = true;
    FlyToTheEnd(plan, result);
    return result;
}

void CSPSoakPlayer::Tap(int padKey) {
    run_.SetPadKey(padKey, true);
    run_.Pass();
    run_.SetPadKey(padKey, false);
    for (int i = 1; i < kTapPasses; ++i)
        run_.Pass();
}

void CSPSoakPlayer::PressBack() {
    // Escape sends the button that means back in the orientation in force: down, then up.
    const int back = run_.Display().BackHotKey();
    run_.Button(back);
    run_.Pass();
    run_.Button(back);
    run_.Pass();
}

bool CSPSoakPlayer::Pass(SoakFlightResult& result) {
    ++result.passes;
    return run_.Pass();
}

bool CSPSoakPlayer::MenuStep(const SoakFlightPlan& plan) {
    const auto* menu = dynamic_cast<CSPMenu*>(run_.Shell().GetMenu());
    MSPMenuState* screen = menu ? menu->CurrentScreen() : nullptr;
    if (const auto* mainMenu = dynamic_cast<CSPMenuStateMain*>(screen)) {
        // Fly, and Yes when asked whether to abandon the flight left standing.
        Tap(mainMenu->Asking() || mainMenu->SelectedItem() == CSPMenuStateMain::kFly ? kAction : kUp);
    } else if (const auto* routes = dynamic_cast<CSPMenuStateRouteInfo*>(screen)) {
        if (routes->SelectedItem() != CSPMenuStateRouteInfo::kRouteList) {
            Tap(kDown);
        } else if (routes->SelectedRoute() != plan.route) {
            Tap(routes->SelectedRoute() < plan.route ? kRight : kLeft);
        } else {
            Tap(kAction);  // on to the aircraft
        }
    } else if (const auto* plane = dynamic_cast<CSPMenuStatePlane*>(screen)) {
        if (plane->SelectedAircraft() != plan.aircraft) {
            Tap(plane->SelectedAircraft() < plan.aircraft ? kRight : kLeft);
        } else {
            Tap(kAction);  // fly: the loading screen
        }
    } else if (screen && screen->ScreenNumber() == 5) {
        run_.Pass();  // the loading screen fades, then builds the flight
    } else {
        PressBack();
        return false;
    }
    return true;
}

bool CSPSoakPlayer::ChooseInMenu(const SoakFlightPlan& plan, SoakFlightResult& result) {
    const CFSEngine& engine = *run_.Shell().Context().engine;
    const int start = run_.Passes();
    while (run_.Passes() - start < kMenuPasses) {
        if (engine.State() == Flying && run_.Controller().AircraftNode()) {
            result.passes += run_.Passes() - start;
            return true;
        }
        if (engine.State() != Menu && engine.State() != Loading) {
            run_.Pass();
            continue;
        }
        if (!MenuStep(plan)) result.problem = "an unexpected screen on the way";
    }
    result.passes += run_.Passes() - start;
    result.problem = "the menu never started the flight";
    return false;
}

void CSPSoakPlayer::FlyToTheEnd(const SoakFlightPlan& plan, SoakFlightResult& result) {
    const CFSEngine& engine = *run_.Shell().Context().engine;
    CSPGameController& game = run_.Controller();
    CSPScriptedPilot pilot;
    if (plan.exit == SoakExit::Crash) pilot.FlyIntoGround();
    if (plan.exit == SoakExit::Landing) pilot.FlyHop();
    for (int flown = 0; flown < kFlightPasses; ++flown) {
        if (game.Finish() != SPFinish::None) {
            result.exit = game.Finish() == SPFinish::Failure   ? SoakExit::Crash
                          : game.Finish() == SPFinish::Landing ? SoakExit::Landing
                                                               : SoakExit::Other;
            // Hands off the keys while the end is watched, so that the next flight starts
            // with nothing held.
            while (!pilot.LetGo(run_))
                Pass(result);
            WaitForTheMenu(result);
            return;
        }
        if (engine.State() == Menu) {
            result.problem = "the flight left for the menu by itself";
            return;
        }
        if (plan.exit == SoakExit::Quit && flown >= plan.quitAfter) {
            if (pilot.LetGo(run_)) {
                PressBack();
                result.passes += 2;
                result.exit = SoakExit::Quit;
                result.ended = engine.State() == Menu && game.IsResumable();
                if (!result.ended) result.problem = "back did not leave the flight for the menu";
                return;
            }
        } else {
            pilot.Step(run_);
        }
        Pass(result);
    }
    result.problem = "the flight did not end";
    while (!pilot.LetGo(run_))
        Pass(result);
    PressBack();
}

void CSPSoakPlayer::WaitForTheMenu(SoakFlightResult& result) {
    const CFSEngine& engine = *run_.Shell().Context().engine;
    for (int i = 0; i < kMenuPasses; ++i) {
        if (engine.State() == Menu) {
            result.ended = true;
            return;
        }
        Pass(result);
    }
    result.problem = "the menu did not come back after the end";
}
