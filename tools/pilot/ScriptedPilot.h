#pragma once
// A pilot for the tests: flies a route in the headless game using only what a player has
// (the pad keys and the application buttons), looking at the aircraft as a player looks at
// the screen. It takes off (full power, brakes off, rotate), steers toward the next gate
// and lines up through it, keeps its height between the gates, and where the route asks
// for a landing flies an approach to the runway, flares and brakes to a stop.
#include <cstdlib>
#include <string>

#include "world/FSFixedVector.h"
#include "world/FSWorldPosition.h"

class CFSHeadlessRun;

class CSPScriptedPilot {
public:
    // Called before every pass of the flight.
    void Step(CFSHeadlessRun& run);
    // What the pilot is doing, for the log: "take-off", "gate 3", "approach", "flare" …
    const std::string& Phase() const { return phase_; }

    // Instead of the route: a hop (take off, climb a few metres, land straight ahead on the
    // rest of the runway and brake to a stop), or a dive into the ground once clear of it.
    void FlyHop() { hop_ = true; }
    void FlyIntoGround() { dive_ = true; }
    // Lets go of every key and button it holds, one message a pass (the throttle or brake
    // chord last, their shift after them); true once nothing is held any more. Whatever was
    // still waiting to be sent is dropped.
    bool LetGo(CFSHeadlessRun& run);

private:
    // Where the pilot flies to and at what height (km, scene); false when nothing is left.
    bool ChooseTarget(CFSHeadlessRun& run, FSFixedVector& target, FSCell& cell, float& height);
    void Steer(CFSHeadlessRun& run, float wantedBank, float wantedPitch);
    void SetThrottle(CFSHeadlessRun& run, float fraction);
    // Queues a key message: a button's press or release, or the action key down or up.
    void Press(int key);
    // Sends the first queued key message.
    void SendQueued(CFSHeadlessRun& run);
    // The hop's attitude and power once off the ground (above: km of the aircraft's centre
    // over the ground), or the dive.
    void HopStep(float above, float& wantedPitch, float& throttle);

    std::string phase_ = "start";
    int pass_ = 0;
    bool rollHeld_ = false;      // a side key is down: it would turn into the rudder under the shift
    bool chordWaiting_ = false;  // a throttle chord waits for the side keys to be let go
    int throttleKey_ = 0;        // the button of the throttle chord being held, 0 none
    bool brakesOff_ = false;
    bool climbedOut_ = false;  // clear of the ground after the take-off
    bool flaps_ = false;
    bool landing_ = false;  // flying the approach
    bool stopping_ = false;
    bool intercepting_ = false;  // turning onto the approach line
    bool final_ = false;         // established on the final approach
    bool flare_ = false;
    const void* gate_ = nullptr;      // the gate the side was chosen for
    const void* given_up_ = nullptr;  // a gate a glider can no longer reach
    float side_ = 1.0f;               // +1: come from along the gate's normal, -1: against it
    float gateOffset_[2] = {};        // from the target gate's centre across and up, km
    float gateAlong_ = 0.0f;          // how far before the target gate, km (negative: past it)
    float aimDistance_ = 0.0f, aimError_ = 0.0f, aimHeight_ = 0.0f;  // to the point aimed at: km, rad, km
    bool actionDown_ = false;
    bool log_ = std::getenv("AEROVANT_PILOT_LOG") != nullptr;  // a line a second on stderr
    float lastPitch_ = 0.0f;                                   // the attitude a pass ago (rad)
    float liftOffSpeed_ = 0.0f;  // km/h when the wheels left the ground; 0 before
    int buttonQueue_[8] = {};
    int queued_ = 0;
    bool buttonDown_[5] = {};  // buttons 1-5 as the messages sent so far left them
    bool hop_ = false, dive_ = false;
    bool hopTop_ = false;          // the hop has reached its height: coming down
    float standingAbove_ = -1.0f;  // km of the aircraft's centre over the ground at the start
};
