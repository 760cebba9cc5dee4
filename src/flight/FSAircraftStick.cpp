// The analog stick's side of CFSAircraft: the frame's analog values steer the controls in
// proportion, through the same steering as the stylus on the touch pad.
//
// The stylus moves a control at a rate: held off centre, the control keeps travelling to
// its limit. A stick is a position: held half over, the pilot expects half the
// deflection and a steady roll, not a control that runs on to full travel. So the stick's
// deflection is the control's target, reached at the stylus's full rate; let go, the
// control comes back to centre the same way and is then left to the keys, which keep
// steering alongside the stick.
#include <cmath>

#include "flight/FSAircraft.h"

namespace {

enum StickAxis { kStickRoll = 0, kStickPitch = 1, kStickYaw = 2 };

// A control's deflection for a stick input (-1..1): the input's fraction of the travel
// on its side.
float Deflection(float input, float low, float high) {
    return input < 0.0f ? -input * low : input * high;
}

// A stick input as the controls take it: -1..1, and 0 for a value that is no number (the
// values may come from a recording rather than a device).
float Input(bool active, float value) {
    return active && std::isfinite(value) ? std::fmax(-1.0f, std::fmin(value, 1.0f)) : 0.0f;
}

// Two readings of the lever closer than this are the same position.
constexpr float kLeverStill = 0.002f;

}  // namespace

void CFSAircraft::AnalogStep() {
    const bool active = frame_->analogActive != 0;
    const float inputs[3] = {Input(active, frame_->analogRoll), Input(active, frame_->analogPitch),
                             Input(active, frame_->analogRudder)};
    const bool deflected =
        inputs[kStickRoll] != 0.0f || inputs[kStickPitch] != 0.0f || inputs[kStickYaw] != 0.0f;
    const float lever =
        active && frame_->analogThrottle >= 0.0f ? Input(true, frame_->analogThrottle) : -1.0f;
    const bool leverMoved =
        lever >= 0.0f && (stickThrottle_ < 0.0f || std::fabs(lever - stickThrottle_) > kLeverStill);
    // Taking the stick or the lever takes the aircraft back from the pilot aids.
    if ((deflected || leverMoved) && (autopilot || leveller)) {
        SetAutopilot(false);
        SetLeveller(false);
    }
    if (leverMoved) {
        throttle =
            std::fmax(throttleMin, std::fmin(throttleMin + lever * (throttleMax - throttleMin), throttleMax));
        stickThrottle_ = lever;
    } else if (lever < 0.0f) {
        stickThrottle_ = -1.0f;
    }

    // Each control travels at the rate of the stylus at the pad's edge, or of a held key
    // where that is faster (a player who turned the touch screen down still has a stick).
    const float T = frame_->timeScale;
    const float steps[3] = {T * std::fmax(game_->stylusRollRate, rollRate * game_->keyRollRate),
                            T * std::fmax(game_->stylusPitchRate, pitchRate * game_->keyPitchRate),
                            T * std::fmax(game_->stylusRollRate, yawRate * game_->keyRollRate)};
    const bool keyHeld[3] = {aileronLeft || aileronRight, elevatorUp || elevatorDown,
                             rudderLeft || rudderRight};
    for (int axis = kStickRoll; axis <= kStickYaw; ++axis) {
        const float input = inputs[axis];
        if (input == 0.0f) {
            // Centred: bring back what the stick moved, unless the aids or a key have it now.
            if (!stickHolds_[axis]) continue;
            if (autopilot || leveller || keyHeld[axis]) {
                stickHolds_[axis] = false;
                continue;
            }
        }
        stickHolds_[axis] = true;
        float control = 0.0f;
        if (axis == kStickRoll) {
            SteerAilerons(Deflection(input, rollMin, rollMax), steps[axis], false);
            control = rollControl;
        } else if (axis == kStickPitch) {
            SteerElevator(Deflection(input, pitchMin, pitchMax), steps[axis], false);
            control = pitchControl;
        } else {
            SteerRudder(Deflection(input, yawMin, yawMax), steps[axis]);
            control = yawControl;
        }
        if (input == 0.0f && control == 0.0f) {
            // Back at centre: the control rests as a released key leaves it.
            stickHolds_[axis] = false;
            if (axis == kStickRoll) aileronCentring = true;
            if (axis == kStickYaw) rudderCentring = true;
        }
    }
}
