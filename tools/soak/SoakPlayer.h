#pragma once
// A player's long evening, for the soak run: flight after flight in one process, each one
// chosen in the menu with the pad keys (Fly, the route, the aircraft, on to the loading
// screen), flown by the scripted pilot and left by a crash, by a landing or by quitting
// (back to the menu, where Fly abandons the left flight before the next one is chosen).
#include <string>

class CFSHeadlessRun;

enum class SoakExit { Crash, Landing, Quit, Other };

struct SoakFlightPlan {
    int route = 0;     // 0 = "Route1.txt"
    int aircraft = 0;  // 0 Cessna 172R ... 4 Fokker
    SoakExit exit = SoakExit::Quit;
    int quitAfter = 200;  // passes flown before quitting
};

// How one flight went.
struct SoakFlightResult {
    bool flown = false;               // the menu built the flight and it flew
    bool ended = false;               // it ended and the menu came back
    SoakExit exit = SoakExit::Other;  // how it ended (a crash is a failed flight)
    int passes = 0;                   // main-loop passes, menu included
    std::string problem;              // what went wrong, for the log
};

// The plan of flight n (0-based) of routeCount routes: the three exits take turns; the
// crashes dive from the routes that start in the air, the landings hop from those that
// start on a runway (with the Fokker, which lifts off gently enough to hop), and the
// quits cycle through every route and aircraft after a flight of 100 to 400 passes. The
// first ten flights fly every route and every aircraft, so that the textures and models
// the game keeps are all loaded by the first memory reading.
SoakFlightPlan PlanSoakFlight(int n, int routeCount);
const char* SoakExitName(SoakExit exit);

class CSPSoakPlayer {
public:
    // The run must have been started in the menu (FSHeadlessOptions::menu).
    explicit CSPSoakPlayer(CFSHeadlessRun& run) : run_(run) {}

    // From wherever the menu stands to the end of the planned flight and back to the menu.
    SoakFlightResult Fly(const SoakFlightPlan& plan);

    // The most passes a flight's menu part or its flight may take before it counts as stuck.
    static constexpr int kMenuPasses = 3000;
    static constexpr int kFlightPasses = 8000;

private:
    // Taps through the menu until the chosen flight flies; false when it never does.
    bool ChooseInMenu(const SoakFlightPlan& plan, SoakFlightResult& result);
    // The screen's next tap toward the plan; false on a screen the way does not lead over.
    bool MenuStep(const SoakFlightPlan& plan);
    // Flies until the flight has ended, or until it is time to quit and the pilot's hands
    // are off the keys (then back goes to the menu).
    void FlyToTheEnd(const SoakFlightPlan& plan, SoakFlightResult& result);
    // Waits, hands off, for the menu to come back after a flight's end.
    void WaitForTheMenu(SoakFlightResult& result);
    // One press and release of a pad key, then the wait the menu's repeat rule asks for.
    void Tap(int padKey);
    void PressBack();
    bool Pass(SoakFlightResult& result);

    CFSHeadlessRun& run_;
};
