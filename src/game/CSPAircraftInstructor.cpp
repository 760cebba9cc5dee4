// The instructor of CSPAircraft: a take-off assistant on the ground and up to 0.2 km,
// then level flight by the autopilot with a terrain-avoidance rule.
#include <algorithm>

#include "game/CSPAircraft.h"
#include "world/FSFixed.h"
#include "world/FSSceneNode.h"
#include "world/FSSineTable.h"
#include "world/FSTerrainStorage.h"

namespace {

constexpr float kPi = 3.14159265f;
// The assistant holds the brakes until the engine is run up this far (throttle fraction).
constexpr float kBrakeReleaseThrottle = 0.7f;
// Heights above the ground at which the assistant raises the flaps and hands over, km.
constexpr float kFlapsUpHeight = 0.15f;
constexpr float kTakeOffDoneHeight = 0.2f;
// The pull eases off as the nose comes up and stops at this pitch attitude (rad, 10
// degrees): a climb, not a loop.
constexpr float kClimbAttitude = 0.17453292f;

// value held to [low, high]; limits from a file are not checked for order.
float Clamp(float value, float low, float high) {
    return std::max(low, std::min(value, high));
}

}  // namespace

void CSPAircraft::InstructorStep() {
    if (TakeOffAssistant()) return;
    TerrainAvoidance(true);
}

bool CSPAircraft::TakeOffAssistant() {
    if (onGround) takeOff = true;
    if (!takeOff) return false;
    if (onGround) {
        // Run the engine up on the brakes, flaps down, and roll once it is up.
        ThrottleUp();
        SetBrakes(ThrottleFraction() < kBrakeReleaseThrottle);
        if (!flaps) SetFlaps(true);
    } else {
        // The climb-out is flown on power at the attitude the aircraft left the ground
        // with. A pull at lift-off speed presses the tail down before it can raise the
        // nose: a strong elevator puts the aircraft back on its wheels, hop after hop.
        const float height = TerrainAvoidance(false);
        if (flaps && height > kFlapsUpHeight) SetFlaps(false);
        if (height > kTakeOffDoneHeight) takeOff = false;
    }
    return takeOff;
}

float CSPAircraft::TerrainAvoidance(bool pullUp) {
    AutopilotStep();
    const CFSTerrainStorage* terrain = FlightTerrain();
    if (!terrain) return Altitude();
    const MFSSceneNode& node = GetNode();
    const float height = FixedToFloat(terrain->HeightAboveAt(node.GetPosition(), node.GetCell()));
    if (height >= kSafeHeight) return height;

    // The bank the ailerons are set for (the autopilot's aileron for a bank of a): the
    // pull-up is shared between elevator and rudder so that it lifts the nose toward
    // the sky whatever the bank.
    float bank = 0.0f;
    if (rollControl < 0.0f && rollMin != 0.0f) bank = rollControl / rollMin * -kPi;
    if (rollControl > 0.0f && rollMax != 0.0f) bank = rollControl / rollMax * kPi;
    const SineTable& sine = Sine();
    const float cosBank = sine.Cos(bank);
    const float sinBank = sine.Sin(bank);

    // Closer to the ground, more power and a harder pull (all of it on the ground). The
    // pull goes onto the elevator at once, on top of the autopilot's levelling, and eases
    // off as the nose comes up to the climb attitude: held whatever the attitude, a whole
    // control rate of elevator throws a light aircraft over on its back, and a slow one
    // just off the ground into a stall. The rudder's share reaches its plate through the
    // centring the instructor keeps the rudder in (the held-controls pass of this sub-step).
    const float urgency = std::min(1.0f - height / kSafeHeight, 1.0f);
    throttle = (1.0f - urgency) * throttle + urgency * throttleMax;
    if (pullUp) {
        float pitch = 0.0f, unused = 0.0f;
        Attitude(pitch, unused);
        const float ease = Clamp(1.0f - pitch / kClimbAttitude, 0.0f, 1.0f);
        SetPitchControl(Clamp(pitchControl + pitchRate * urgency * ease * cosBank, pitchMin, pitchMax));
    }
    yawControl = Clamp(yawControl + yawRate * urgency * sinBank, yawMin, yawMax);
    return height;
}
