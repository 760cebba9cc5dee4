#pragma once
// The program's headless mode: the real main loop on the null display and the virtual
// clock, one flight of a route flown by the autopilot, the instructor, a script of key
// presses or a pilot supplied by the caller (the scripted pilot of the tools), pictures
// written every so many frames, and a one-line result when the flight ends.
//
//   aerovant --headless --route N --aircraft N [--pilot autopilot|instructor|script FILE]
//            [--frames N] [--shots-every K] [--out DIR] [--player DIR]
//            [--align 0|1|2] [--view chase|cockpit]
//   aerovant --headless --replay FILE [--shots-every K --out DIR] [--player DIR]
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/FSFlightRecording.h"
#include "game/CSPGameController.h"
#include "platform/FSNullDisplay.h"
#include "world/FSFixedVector.h"
#include "world/FSWorldPosition.h"

class CFSShell;

enum class FSHeadlessPilot { None, Autopilot, Instructor, Script };

struct FSHeadlessOptions {
    int route = 0;     // 0 = "Route1.txt"
    int aircraft = 0;  // 0 Cessna 172R ... 4 Fokker Dr.I
    FSHeadlessPilot pilot = FSHeadlessPilot::None;
    std::string script;        // the script of key presses (pilot Script)
    int frames = 30000;        // the flight is given up after this many passes
    int shotsEvery = 0;        // a picture every this many passes; 0 none
    std::string out;           // where pictures go
    std::string playerFolder;  // where "settings.bin" and "scores.dat" live; empty: the player's own
    int resolution = 1;        // "resolution" of the flight: 0 is the fastest
    int align = -1;            // "screengame_align" of the flight; -1 the player's setting
    bool cockpit = false;      // start in the cockpit view instead of the chase view
    bool menu = false;         // start in the menu and leave the choice of flights to the caller
    std::string replay;        // fly this recording again instead (route, aircraft and pilot are its own)
};

// How one flight ended.
struct FSHeadlessResult {
    SPFinish finish = SPFinish::None;
    int32_t seconds = 0;
    int32_t score = 0;
    float distance = 0.0f;  // km flown
    FSCell cell;            // where the flight ended
    FSFixedVector position;
    int frames = 0;  // passes run

    // "finish=success time=312 score=740 distance=14.212 end=1,0,-3.105,5.214,12.881 frames=5620"
    std::string Line() const;
};

// One key press of a script: at pass `pass` the key (pad 0-4, or a button 193-197) goes
// down or up.
struct FSScriptedKey {
    int pass = 0;
    int key = 0;
    bool down = true;
};

// Reads a script: one press a line, "<pass> <key> down|up", key one of action, left,
// right, up, down, button1 … button5; "#" starts a comment. False (with the line's number
// in error) for anything else.
bool ReadKeyScript(const std::string& text, std::vector<FSScriptedKey>& keys, std::string& error);

class CFSHeadlessRun {
public:
    explicit CFSHeadlessRun(const FSHeadlessOptions& options);
    ~CFSHeadlessRun();
    CFSHeadlessRun(const CFSHeadlessRun&) = delete;
    CFSHeadlessRun& operator=(const CFSHeadlessRun&) = delete;

    // Start-up and the flight's start: 0, or the status the program would exit with (with
    // the reason on stderr).
    int Start();
    // Passes until the flight has ended and the menu is back, or the frames run out. The
    // pilot, when given, is called before every pass of the flight.
    FSHeadlessResult Fly(const std::function<void(CFSHeadlessRun&)>& pilot = {});
    // One main-loop pass (1/60 s of virtual time); false once the loop has ended.
    bool Pass();

    // What a pilot uses: the pad keys (0 action, 1 left, 2 right, 3 up, 4 down) and the
    // application buttons (hot keys 193-197; one message a press or a release).
    void SetPadKey(int key, bool down);
    void Button(int hotKey);
    int Passes() const { return passes_; }
    // The recording being replayed (--replay), or null.
    const FSFlightRecording* Replayed() const { return replay_.get(); }

    CSPGameController& Controller() const { return *controller_; }
    CFSNullDisplay& Display() { return display_; }
    CFSShell& Shell() const { return *shell_; }

private:
    void WriteShot();
    void ScriptStep();

    FSHeadlessOptions options_;
    CFSNullDisplay display_;
    std::unique_ptr<CFSShell> shell_;
    CSPGameController* controller_ = nullptr;
    std::vector<FSScriptedKey> script_;
    size_t scriptNext_ = 0;
    int passes_ = 0;
    int shots_ = 0;
    std::shared_ptr<const FSFlightRecording> replay_;
};

// A whole number of at most seven digits in [low, high], or low - 1.
int WholeNumberArgument(const std::string& text, int low, int high);
// The options above ("--headless" itself is skipped); false, with the usage on stderr,
// for anything else.
bool ParseHeadlessOptions(int argc, char** argv, FSHeadlessOptions& options);

// The headless mode of the program: parses the options after "--headless", flies, prints
// the result line. The program's exit status.
int RunHeadless(int argc, char** argv);
