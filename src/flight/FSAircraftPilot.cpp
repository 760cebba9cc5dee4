// The pilot aids of CFSAircraft (slots 24-25) and the attitude they fly by.
//
// Both aids are proportional: the controls follow the attitude of this sub-step, scaled
// so that a half turn of bank gives full aileron and a quarter turn of pitch full
// elevator. The autopilot also sets the throttle for the drag along the flight path, so
// that a climb costs speed and a descent gains none: the flight path settles level.
#include <algorithm>
#include <cmath>

#include "flight/FSAircraft.h"
#include "world/FSSceneNode.h"
#include "world/FSSineTable.h"

namespace {

constexpr float kOneOverPi = 0.31830987f;
constexpr float kTwoOverPi = 0.63661975f;

// A deflection for an angle (rad): a negative angle scaled toward the low limit, a
// positive one toward the high limit, so the deflection stays on the limit's side.
float Scaled(float angle, float low, float high, float factor) {
    if (angle < 0.0f) return angle * low * -factor;
    if (angle > 0.0f) return angle * high * factor;
    return angle;
}

}  // namespace

void CFSAircraft::Attitude(float& pitch, float& bank) const {
    FSVector u = WorldToBody(GetNode().GetOrientation(), FSVector(0.0f, 1.0f, 0.0f));
    pitch = NarrowNearZero(std::asin(std::clamp(static_cast<double>(u.y), -1.0, 1.0)));
    u.y = 0.0f;
    bank = Length(u) != 0.0f ? NarrowNearZero(std::atan2(static_cast<double>(u.x), static_cast<double>(u.z)))
                             : 0.0f;
}

float CFSAircraft::AileronForBank(float bank) const {
    return Scaled(bank, rollMin, rollMax, kOneOverPi);
}

void CFSAircraft::HoldAilerons() {
    // An aid's aileron deflection is what a moderate bank asks for, less than a key step:
    // re-centred in the same force computation (a released aileron key leaves the
    // centring flag set) it would be lost at once and the wings never levelled.
    aileronCentring = false;
}

void CFSAircraft::LevellerStep() {
    // The leveller flies the ailerons only; the elevator and pitchControl stay the
    // player's.
    float pitch = 0.0f;
    float bank = 0.0f;
    Attitude(pitch, bank);
    rollControl = AileronForBank(bank);
    WriteAilerons();
    HoldAilerons();
}

void CFSAircraft::AutopilotStep() {
    float pitch = 0.0f;
    float bank = 0.0f;
    Attitude(pitch, bank);
    const float elevator = -pitch;
    const SineTable& sine = Sine();
    const float cosBank = sine.Cos(bank);
    const float sinBank = sine.Sin(bank);

    rollControl = AileronForBank(bank);
    WriteAilerons();
    HoldAilerons();
    // In a bank the nose's correction is shared between the elevator and the rudder.
    pitchControl = Scaled(elevator, pitchMin, pitchMax, kTwoOverPi) * cosBank;
    WriteElevator();
    yawControl = Scaled(elevator, yawMin, yawMax, kTwoOverPi) * sinBank;
    WriteRudder();

    // Throttle: thrust for the drag along the flight path (angle γ to the horizon), with
    // the last step's lift and drag resolved onto the path.
    const float speed = Length(velocity);
    if (speed == 0.0f) {
        throttle = throttleMax;
        return;
    }
    const float sinPath = KeepAboveNearZero(velocity.y / speed);
    const float path = NarrowNearZero(std::asin(std::clamp(static_cast<double>(sinPath), -1.0, 1.0)));
    const float cosPath = sine.Cos(path);
    const float liftOnPath = totalDrag * sinPath + totalLift * cosPath;
    const float dragOnPath = totalDrag * cosPath - totalLift * sinPath;
    // The thrust of the last step against its throttle setting (the air's thinning).
    const float ratio = thrust != 0.0f ? throttle / thrust : 1.0f;
    const float wanted = (dragOnPath / liftOnPath) * (mass * kGravity) * ratio;
    // Without lift on the path (no air yet, or a quotient that is not a number) there is
    // nothing to balance: full power.
    throttle = std::isnan(wanted) || liftOnPath == 0.0f
                   ? throttleMax
                   : std::max(throttleMin, std::min(wanted, throttleMax));
}
