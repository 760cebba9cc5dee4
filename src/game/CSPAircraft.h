#pragma once
// The aircraft the player flies: CFSAircraft with what the game needs beyond free flight.
//
// - Flaps: an 11th plate made at load time from the wings (at their mean position and
//   incidence, with the ailerons' area, which the wings give up). Extending turns it from
//   the wings' incidence to −15 degrees, a 160th of the way per sub-step.
// - Brakes: a brake level rising to 9 in five sub-steps, 0.2 kN of braking per unit.
// - Ground contact: the game controller calls GroundContact once per frame. On first
//   contact it judges the touch-down (damage from the vertical impact, upside down), then
//   the aircraft rolls along its heading on the ground: each sub-step the force model adds
//   rolling friction and brakes, and the nose wheel steers with the rudder. The aircraft
//   leaves the ground when the forces stop pressing it down.
// - The instructor: on the ground a take-off assistant (full throttle, flaps, brakes off
//   once the engine is up), in the air level flight by the autopilot with a terrain-
//   avoidance rule that pulls up and adds power below 0.6 km above the ground. Any player
//   command is undone while it flies.
//
// Units and frames as CFSAircraft (km, s, kg, kN, rad; velocity world frame). The terrain
// is the application context's (its terrain holder); without one there is no ground
// contact and the terrain-avoidance rule only levels the aircraft.
#include <string>

#include "flight/FSAircraft.h"

struct FSMemoryBlock;
class CFSTerrainStorage;
class SineTable;

class CSPAircraft : public CFSAircraft {
public:
    // Index of the flap plate, after the ten described ones.
    static constexpr int kFlapSurface = kBaseSurfaceCount;
    // Flaps fully down, rad (15 degrees).
    static constexpr float kFlapsDown = 0.2617994f;
    // Full brake level.
    static constexpr float kBrakeMax = 9.0f;
    // Nose-wheel deflection at full rudder, rad (20 degrees).
    static constexpr float kSteeringMax = 0.34906584f;
    // The terrain-avoidance rule acts below this height above the ground, km.
    static constexpr float kSafeHeight = 0.6f;
    // The part of a touch-down's momentum (mass × sink rate) that hits the damage property.
    static constexpr float kImpactShare = 0.7f;

    // Not yet loaded (mass 0); eleven plates.
    CSPAircraft(MFSSceneNode& node, const FSVector& velocity, const SineTable& sine);
    ~CSPAircraft() override;

    // ---- Overridden slots ----

    // Slot 1: the instructor, the travelling flaps and brakes, the force model of
    // CFSAircraft and, while rolling, friction, brakes and nose-wheel steering.
    void ComputeForces() override;
    // Slot 4: the description load of CFSAircraft, then the flaps, wheel base and
    // braking are derived (see LoadText).
    void Load(const std::string& memberName) override;
    // Slot 26: the commands of CFSAircraft, plus brakes (18 held, 25 released), flaps (26)
    // and instructor (27) toggles. While the instructor flies, every command but the
    // brakes is undone at once.
    bool HandleCommand(int code, int parameter) override;
    // The analog stick, except while the instructor flies: it has the controls until the
    // player switches it off, as it has them from the keys.
    void AnalogStep() override;

    // Load from a description text already in memory (a null block is a missing file).
    void LoadText(const FSMemoryBlock& text);

    // ---- Ground ----

    // The game controller's ground check (once per frame; stop = true once when a flight
    // starts on the ground, which parks the aircraft: engine idle, brakes on, no motion).
    // Above the ground (higher than the model's lowest point): not rolling, true. On the
    // ground it is put onto the ground at its clearance, nose along its motion or its
    // heading, wheels on the ground, motion into the ground removed. A first contact that
    // destroys it (damage property hit with mass × TouchdownSink × 0.7) or finds it upside
    // down returns false and leaves it stopped as it hit, out of the ground but not turned
    // onto its wheels; so does a contact while not rolling for any other reason. Without a
    // terrain: true.
    bool GroundContact(bool stop);
    // What a first contact's blow counts as, a sink rate (km/s): the sink into the ground
    // (sink, km/s), times speed / landing speed when touching down faster than the landing
    // speed (speed along the ground, km/s); with the wings banked against the ground (bank,
    // rad, 0 level, π upside down) past the angle at which a wing tip meets it, the whole
    // speed, for the tip digs in and the aircraft cartwheels.
    float TouchdownSink(float sink, float speed, float bank) const;
    // The aircraft's own touch-down limits: the bank (rad) at which a wing tip meets the
    // ground with the wheels on it, and the landing speed (km/s); 0 for either (as until
    // set) leaves it out, and the damage property's thresholds judge the sink alone.
    void SetTouchdownLimits(float tipBank, float landingSpeed);
    bool IsOnGround() const { return onGround; }
    // Times the aircraft has left the ground; the game controller may reset it.
    int LiftOffs() const { return liftOffs; }
    void SetLiftOffs(int count) { liftOffs = count; }
    const FSVector& GroundNormal() const { return groundNormal; }
    float WheelBase() const { return wheelBase; }  // km, nose wheel to centre of gravity

    // ---- Flaps, brakes, instructor ----

    // Commands the flaps down (true) or up and moves them one step that way.
    void SetFlaps(bool on);
    // Commands the brakes and moves the brake level one step that way.
    void SetBrakes(bool on);
    // On: the instructor takes over from centred controls, autopilot off, flaps and brakes
    // commanded off. Off: the autopilot takes over in the air; on the ground nobody does.
    void SetInstructor(bool on);
    bool IsFlaps() const { return flaps; }
    bool IsBrakes() const { return brakes; }
    bool IsInstructor() const { return instructor; }
    bool IsTakingOff() const { return takeOff; }
    float FlapAngle() const { return flapAngle; }  // rad, flapMin (up) … flapMax (down)
    float FlapMin() const { return flapMin; }
    float FlapMax() const { return flapMax; }
    float BrakeLevel() const { return brakeLevel; }  // 0 … 9

protected:
    // The game's steps after the description load.
    void DeriveGameSurfaces();
    // Friction, brakes and steering on the ground; lift-off when nothing presses the
    // aircraft down any more.
    void RollingForces();
    // The instructor's sub-step: the take-off assistant, or else the terrain-avoidance rule.
    void InstructorStep();
    // True while the take-off assistant flies (from the ground until 0.2 km up).
    bool TakeOffAssistant();
    // Level flight by the autopilot, adding power near the ground and, with pullUp,
    // pulling the nose up toward a climb; returns the height above the terrain (km), or
    // the altitude without a terrain.
    float TerrainAvoidance(bool pullUp);
    // Turns the node upside up about its nose axis by turn rad should its up axis point
    // against the body's up turned to the world.
    void KeepUpright(float turn);

    int flapSurface = kFlapSurface;
    bool flaps = false;
    float flapAngle = 0.0f;  // rad
    float flapMin = 0.0f;    // rad, the wings' mean incidence negated
    float flapMax = kFlapsDown;
    float flapTravel = 0.0f;  // rad; a sub-step moves the flaps an eighth of it

    bool onGround = false;
    int liftOffs = 0;
    FSVector groundNormal{0.0f, 1.0f, 0.0f};  // unit, world frame
    // Rolling friction coefficient = rollingFriction / frictionScale (0.005).
    float rollingFriction = 1.5e-6f;
    float brakeFactor = 0.2f;  // kN per unit of brake level
    float frictionScale = 0.0003f;
    float wheelBase = 0.0f;  // km
    float steeringMax = kSteeringMax;
    bool brakes = false;
    float brakeLevel = 0.0f;
    float brakeMax = kBrakeMax;
    float tipBank = 0.0f;       // rad; 0: no tip limit
    float landingSpeed = 0.0f;  // km/s; 0: no landing speed

    bool instructor = false;
    bool takeOff = false;
};

// The player's aircraft for a flight: a CSPAircraft on node with the initial velocity
// (world, km/s), loaded from "Aircraft<aircraftIndex + 1>.txt" of archivePath (empty: the
// game's "data\aircrafts.zip"), made the node's moveable object, with a damage property
// and the game property of the player's aircraft. The file's line
//   Damage harmless-sink wrecking-sink tip-bank landing-speed   (m/s, m/s, degrees, km/h)
// gives the touch-down limits: touch-downs up to the first sink rate do no harm, one at the
// second wrecks the aircraft, harder ones in between add up. Without it (or for a value
// that is missing or not above 0) the sinks come from the loaded mass m: harmless up to an
// impact of 3 g over a frame's 0.2 s (m × 0.2 × 3 g), health for 4 g; and the bank and
// speed do not count. A destroying hit returns m × 0.2 × 10 g.
CSPAircraft& CreateFlightAircraft(MFSSceneNode& node, const FSVector& velocity, int aircraftIndex,
                                  const SineTable& sine, const std::string& archivePath = std::string());

// The terrain the aircraft fly over: the application context's, when one is loaded.
const CFSTerrainStorage* FlightTerrain();
