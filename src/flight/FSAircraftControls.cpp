// The controls side of CFSAircraft: the actuators (slots 7-18), the touch-pad steering,
// the look-around view and the command dispatch (slot 26).
//
// A key step moves a control by T × its rate × the key gain, where T is the time scale
// (so a step covers the same travel per simulated second whatever the frame rate). A held
// aileron or rudder key moves its control on every command and, through its move flag, on
// every sub-step of the force model that no command reached; a released one returns to 0
// a step per sub-step. The elevator has no such repeat and no return: it keeps its
// deflection when released, like a trim, which lets the player fly with keys without
// holding one down.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "flight/FSAircraft.h"
#include "flight/FSFlightCommands.h"
#include "world/FSSceneNode.h"

namespace {

// One step of the look-around view, rad (10 degrees).
constexpr float kLookStep = 0.1745329f;
// "touchscreen_scheme": 0 no touch steering, 2 the pitch axis reversed, 3 the wing
// leveller takes over when the stylus is lifted.
constexpr int32_t kSchemeNone = 0;
constexpr int32_t kSchemeReversedPitch = 2;
constexpr int32_t kSchemeLevelOnLift = 3;

// One key step of a control: T × rate × gain (rad).
float KeyStep(const FSFrameValues& frame, float rate, float gain) {
    return frame.timeScale * rate * gain;
}

// control moved one step toward 0, or to 0 when it is no further than a step away.
float TowardZero(float control, float step) {
    step = std::fabs(step);
    if (std::fabs(control) <= step) return 0.0f;
    return control > 0.0f ? control - step : control + step;
}

// control moved toward target by at most step.
float MoveToward(float control, float target, float step) {
    step = std::fabs(step);
    if (std::fabs(target - control) <= step) return target;
    return control < target ? control + step : control - step;
}

// value within [low, high] (a damaged description's inverted limits give low, and no
// undefined behaviour).
float Limit(float value, float low, float high) {
    return std::max(low, std::min(value, high));
}

// One proportional move of a control within its travel {low, high}: toward target by at
// most step. A held move sets the move flag of the target's side (below 0 the low flag);
// otherwise both flags are cleared.
void Steer(float& control, std::pair<float, float> travel, float target, float step, bool held, bool& lowFlag,
           bool& highFlag) {
    control = Limit(MoveToward(control, target, step), travel.first, travel.second);
    if (held) {
        if (target < 0.0f) lowFlag = true;
        if (target > 0.0f) highFlag = true;
    } else {
        lowFlag = false;
        highFlag = false;
    }
}

// One axis of the touch-pad: the stylus offset from the pad's centre outside the dead zone,
// as a fraction of the live half-width (−1 … 1 at the edges). Integer halves truncate, as
// the pad's rectangles are whole pixels.
float PadAxis(int32_t at, int32_t origin, int32_t size, int32_t dead) {
    const int64_t offset = int64_t{at} - size / 2 - origin;
    const int64_t halfDead = dead / 2;
    const int64_t live = (int64_t{size} - dead) / 2;
    if (offset >= -halfDead && offset <= halfDead) return 0.0f;
    const int64_t beyond = offset < 0 ? offset + halfDead : offset - halfDead;
    // A pad that is all dead zone has no travel to divide by: past its dead zone the stylus
    // gives full deflection.
    if (live <= 0) return beyond < 0 ? -1.0f : 1.0f;
    return static_cast<float>(beyond) / static_cast<float>(live);
}

// The stylus's deflection step: T × gain × |axis|, formed in double precision.
float StylusStep(const FSFrameValues& frame, float gain, float axis) {
    return static_cast<float>(static_cast<double>(frame.timeScale) * gain * std::fabs(axis));
}

}  // namespace

// ---- Actuators ----

void CFSAircraft::ApplyStick(float rollInput, float pitchInput) {
    if (autopilot) return;
    const float rollStep = frame_->timeScale * game_->keyRollRate * rollRate * rollInput;
    if (rollInput < 0.0f) {
        rollControl = std::max(rollControl + rollStep, rollMin);
        aileronLeft = true;
        aileronCentring = false;
        aileronsCommanded = true;
        WriteAilerons();
    } else if (rollInput > 0.0f) {
        rollControl = std::min(rollControl + rollStep, rollMax);
        aileronRight = true;
        aileronCentring = false;
        aileronsCommanded = true;
        WriteAilerons();
    }
    const float pitchStep = frame_->timeScale * game_->keyPitchRate * pitchRate * pitchInput;
    if (pitchInput < 0.0f) {
        pitchControl = std::min(pitchControl - pitchStep, pitchMax);
        elevatorUp = true;
        elevatorCentring = false;
        WriteElevator();
    } else if (pitchInput > 0.0f) {
        pitchControl = std::max(pitchControl - pitchStep, pitchMin);
        elevatorDown = true;
        elevatorCentring = false;
        WriteElevator();
    }
}

void CFSAircraft::AileronLeft() {
    if (autopilot) return;
    rollControl = std::max(rollControl - KeyStep(*frame_, rollRate, game_->keyRollRate), rollMin);
    WriteAilerons();
    aileronLeft = true;
    aileronCentring = false;
    aileronsCommanded = true;
}

void CFSAircraft::AileronRight() {
    if (autopilot) return;
    rollControl = std::min(rollControl + KeyStep(*frame_, rollRate, game_->keyRollRate), rollMax);
    WriteAilerons();
    aileronRight = true;
    aileronCentring = false;
    aileronsCommanded = true;
}

void CFSAircraft::CentreAileron() {
    aileronLeft = false;
    aileronRight = false;
    aileronCentring = !autopilot;
    rollControl = TowardZero(rollControl, KeyStep(*frame_, rollRate, game_->keyRollRate));
    WriteAilerons();
    aileronsCommanded = true;
}

void CFSAircraft::ElevatorUp() {
    if (autopilot) return;
    pitchControl = std::min(pitchControl + KeyStep(*frame_, pitchRate, game_->keyPitchRate), pitchMax);
    WriteElevator();
    elevatorUp = true;
    elevatorCentring = false;
}

void CFSAircraft::ElevatorDown() {
    if (autopilot) return;
    pitchControl = std::max(pitchControl - KeyStep(*frame_, pitchRate, game_->keyPitchRate), pitchMin);
    WriteElevator();
    elevatorDown = true;
    elevatorCentring = false;
}

void CFSAircraft::CentreElevator() {
    elevatorUp = false;
    elevatorDown = false;
    elevatorCentring = !autopilot;
    pitchControl = TowardZero(pitchControl, KeyStep(*frame_, pitchRate, game_->keyPitchRate));
    WriteElevator();
}

void CFSAircraft::RudderLeft() {
    if (autopilot) return;
    yawControl = std::max(yawControl - KeyStep(*frame_, yawRate, game_->keyRollRate), yawMin);
    WriteRudder();
    rudderLeft = true;
    rudderCentring = false;
    rudderCommanded = true;
}

void CFSAircraft::RudderRight() {
    if (autopilot) return;
    yawControl = std::min(yawControl + KeyStep(*frame_, yawRate, game_->keyRollRate), yawMax);
    WriteRudder();
    rudderRight = true;
    rudderCentring = false;
    rudderCommanded = true;
}

void CFSAircraft::CentreRudder() {
    rudderLeft = false;
    rudderRight = false;
    rudderCentring = !autopilot;
    yawControl = TowardZero(yawControl, KeyStep(*frame_, yawRate, game_->keyRollRate));
    WriteRudder();
    rudderCommanded = true;
}

void CFSAircraft::ThrottleUp() {
    if (autopilot) return;
    throttle += throttleStep;
    if (throttle > throttleMax) throttle = throttleMax;
}

void CFSAircraft::ThrottleDown() {
    if (autopilot) return;
    throttle -= throttleStep;
    if (throttle < throttleMin) throttle = throttleMin;
}

// ---- Look-around and touch-pad ----

void CFSAircraft::SteerAilerons(float target, float step, bool held) {
    Steer(rollControl, {rollMin, rollMax}, target, step, held, aileronLeft, aileronRight);
    aileronCentring = false;
    aileronsCommanded = true;
    WriteAilerons();
}

void CFSAircraft::SteerElevator(float target, float step, bool held) {
    Steer(pitchControl, {pitchMin, pitchMax}, target, step, held, elevatorDown, elevatorUp);
    elevatorCentring = false;
    WriteElevator();
}

void CFSAircraft::SteerRudder(float target, float step) {
    Steer(yawControl, {yawMin, yawMax}, target, step, false, rudderLeft, rudderRight);
    rudderCentring = false;
    rudderCommanded = true;
    WriteRudder();
}

void CFSAircraft::TurnLookVector(float radians) {
    lookVector = Rotate(FromAxisAngle(up, radians), lookVector);
}

bool CFSAircraft::TouchpadSteering() {
    const int32_t scheme = game_->touchscreenScheme;
    if (scheme == kSchemeNone) return false;
    if (lookAround != 0) {
        TurnLookVector(kLookStep);
        return true;
    }

    // A point off the pad is refused and changes nothing; a point on its edge counts.
    FSTouchpadRect pad;
    if (!touchpadLookup_ || !touchpadLookup_(game_->screenAlign, pad)) return false;
    const int64_t x = frame_->stylusX;
    const int64_t y = frame_->stylusY;
    if (x < pad.x || y < pad.y || x > int64_t{pad.x} + pad.width || y > int64_t{pad.y} + pad.height)
        return false;
    // On the pad, even in its dead zone, the player takes over from the pilot aids.
    SetAutopilot(false);
    SetLeveller(false);

    const float ax = PadAxis(frame_->stylusX, pad.x, pad.width, pad.deadWidth);
    float ay = PadAxis(frame_->stylusY, pad.y, pad.height, pad.deadHeight);
    if (scheme == kSchemeReversedPitch) ay = -ay;

    // Screen y grows downward: the stylus below the pad's centre pulls the nose up.
    if (ax != 0.0f)
        SteerAilerons(ax < 0.0f ? rollMin : rollMax, StylusStep(*frame_, game_->stylusRollRate, ax), true);
    if (ay != 0.0f)
        SteerElevator(ay < 0.0f ? pitchMin : pitchMax, StylusStep(*frame_, game_->stylusPitchRate, ay), true);
    return true;
}

// ---- Command dispatch ----

bool CFSAircraft::HandleCommand(int code, int /*parameter*/) {
    // Most player commands take the aircraft back from the pilot aids.
    const auto aidsOff = [this] {
        SetAutopilot(false);
        SetLeveller(false);
    };
    switch (code) {
        case kCommandElevatorDown:
            aidsOff();
            ElevatorDown();
            return true;
        case kCommandElevatorUp:
            aidsOff();
            ElevatorUp();
            return true;
        case kCommandAileronLeft:
        case kCommandAileronRight: {
            const bool left = code == kCommandAileronLeft;
            // While looking around, the aileron keys turn the view instead.
            if (lookAround != 0) {
                TurnLookVector(left ? kLookStep : -kLookStep);
            } else {
                aidsOff();
                if (left) {
                    AileronLeft();
                } else {
                    AileronRight();
                }
            }
            return true;
        }
        case kCommandRudderLeft:
            aidsOff();
            RudderLeft();
            return true;
        case kCommandRudderRight:
            aidsOff();
            RudderRight();
            return true;
        case kCommandAileronLeftReleased:
            CentreAileron();
            return true;
        case kCommandAileronRightReleased:
            CentreAileron();
            SetLeveller(false);
            return true;
        case kCommandElevatorDownReleased:
        case kCommandElevatorUpReleased:
            // Let go, the elevator keeps its deflection, like a trim: a tap moves it by
            // just the steps of its presses.
            elevatorUp = false;
            elevatorDown = false;
            return true;
        case kCommandRudderLeftReleased:
        case kCommandRudderRightReleased:
            CentreRudder();
            return true;
        case kCommandAutopilotToggle:
            SetAutopilot(!IsAutopilot());
            SetLeveller(false);
            if (!IsAutopilot()) {
                // The player takes over from centred controls.
                CentreAileron();
                CentreElevator();
                CentreRudder();
            }
            return true;
        case kCommandLookAroundToggle:
            SetLookAround(lookAround != 0 ? 0 : 1);
            return true;
        case kCommandThrottleLess:
            aidsOff();
            ThrottleDown();
            return true;
        case kCommandThrottleMore:
            aidsOff();
            ThrottleUp();
            return true;
        case kCommandStylusLifted:
            CentreAileron();
            CentreElevator();
            if (game_->touchscreenScheme == kSchemeLevelOnLift) SetLeveller(true);
            return true;
        case kCommandStylusPressed:
        case kCommandStylusMoved:
            return TouchpadSteering();
        default:
            return false;
    }
}
