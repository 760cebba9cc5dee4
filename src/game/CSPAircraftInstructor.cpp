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

// value held to [low, high]; limits from a file are not checked for order.
float Clamp(float value, float low, float high) {
    return std::max(low, std::min(value, high));
}

}  // namespace

void CSPAircraft::InstructorStep() {
    if (TakeOffAssistant()) return;
    TerrainAvoidance();
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
        const float height = TerrainAvoidance();
        if (flaps && height > kFlapsUpHeight) SetFlaps(false);
        if (height > kTakeOffDoneHeight) takeOff = false;
    }
    return takeOff;
}

float CSPAircraft::TerrainAvoidance() {
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
    // pull is not written to the plates here: the held-controls pass of this sub-step
    // writes it where it centres a control (the rudder, which the instructor keeps
    // centring; the elevator only right after a player's command). Power is what climbs
    // away from the ground; the full pull, a whole control rate, on the elevator every
    // sub-step would throw the aircraft into a climb, a stall and a dive near the ground.
    const float urgency = std::min(1.0f - height / kSafeHeight, 1.0f);
    throttle = (1.0f - urgency) * throttle + urgency * throttleMax;
    pitchControl = Clamp(pitchControl + pitchRate * urgency * cosBank, pitchMin, pitchMax);
    yawControl = Clamp(yawControl + yawRate * urgency * sinBank, yawMin, yawMax);
    return height;
}
