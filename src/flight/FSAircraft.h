#pragma once
// The engine-level aircraft: a moveable object flown by ten flat plates (FSAircraftSurface.h)
// with one shared lift and drag table (FSAircraftCurves.h), engine thrust along the nose,
// gravity and fuel burn, built from the description file "Aircraft%d.txt" in
// "data\aircrafts.zip". The game's aircraft (CSPAircraft) derives from it and adds the
// flaps as an 11th plate, brakes, ground contact, damage and the instructor.
//
// Units: km, s, kg, kN, rad (the file is in metres, m², kg·m², newtons and degrees; the
// reader converts, see FSAircraftDescription.cpp). Frames: velocity and the finished
// force are world frame (y up); plate positions, angular velocity, torque and lookVector
// are body frame (x right wing, y nose, z up). The node's altitude 0 lies at scene height
// 5 km.
//
// Controls act by writing the plates: rollControl goes negated to "LeftAileron" and as it
// is to "RightAileron", pitchControl to "Elevator", yawControl to "Rudder" (each as the
// plate's incidence). Always change a control through SetRollControl / SetPitchControl /
// SetYawControl (or the Write... helpers after changing the field) so the plates follow.
//
// Each sub-step ComputeForces first runs the pilot aids and the held controls (slots
// 7-18 and 24-26 are the controls' side: actuators, centring, autopilot, leveller and the
// command dispatch, FSAircraftControls.cpp and FSAircraftPilot.cpp), then burns fuel, then
// sums the plates, thrust and gravity.
//
// The controls read the game settings and frame values the game hands them
// (SetControlSettings): the time scale T, the four control gains of the game block
// (keyPitchRate for the elevator keys, keyRollRate for the aileron and rudder keys,
// stylusPitchRate and stylusRollRate for the touch-pad), "touchscreen_scheme",
// "screengame_align" and the last stylus point. One key step of a control moves it by
// T × its rate × the key gain (rad).
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/FSSettingsBlocks.h"
#include "flight/FSAircraftSurface.h"
#include "flight/FSMoveableObject.h"
#include "flight/FSTouchpadRect.h"
#include "world/FSThrustSource.h"

struct FSMemoryBlock;

class CFSAircraft : public MFSMoveableObject, public MFSThrustSource {
public:
    // Stall warning: a wing meeting the air at more than 10 degrees (rad) — before the
    // lift peak at 15 degrees, so the warning comes early.
    static constexpr float kStallWarningAngle = 0.17453292f;
    // Gravity, km/s².
    static constexpr float kGravity = 0.00980665f;

    // An aircraft on node with an initial world velocity (km/s), not yet loaded: mass 0,
    // ten zeroed plates, all controls, throttle and fuel 0, the three centring flags set,
    // look-around off, sub-stepping on.
    CFSAircraft(MFSSceneNode& node, const FSVector& velocity, const SineTable& sine);
    ~CFSAircraft() override;

    // ---- Virtual operations, in slot order (0-3 from MFSMoveableObject) ----

    // Slot 1. The force model: pilot aids and held controls, fuel burn, then the plates,
    // thrust and gravity (FSAircraftForces.cpp).
    void ComputeForces() override;
    // Slot 4. Reads the description memberName ("Aircraft1.txt") from the aircraft
    // archive, makes the plate positions relative to the centre of gravity, fills the tank
    // and trims the aircraft for level flight (InitialTrim). A missing or unreadable file
    // tells the player "buffer is NULL! (File not found)" and leaves a cleared aircraft
    // (no mass, no inertia, no plates: it neither flies nor turns).
    virtual void Load(const std::string& memberName);
    // Slot 5. Hands every line of the text (cut at LF) to ParseLine. A null block tells
    // the player "buffer is NULL! (File not found)"; an empty one parses nothing.
    virtual void Parse(const FSMemoryBlock& text);
    // Slot 6. One line of the description: true when it was a comment or a known keyword.
    virtual bool ParseLine(std::string_view line);
    // Slots 7-18: the controls (FSAircraftControls.cpp). Every actuator clamps its control
    // to its limits, writes the plates and sets its control's flags (move flag set,
    // centring flag clear); all but the centring operations do nothing while the autopilot
    // flies.
    // Analog stick: signed deflections, negative roll input to the left, negative pitch
    // input raises the nose; each moves its control by T × key gain × rate × input.
    virtual void ApplyStick(float rollInput, float pitchInput);
    // One key step of the ailerons to the left (rollControl down) or right.
    virtual void AileronLeft();
    virtual void AileronRight();
    // One key step toward 0 (to 0 when nearer than a step), also while the autopilot
    // flies; clears both move flags and sets the centring flag, so that the force model
    // goes on centring, unless the autopilot flies.
    virtual void CentreAileron();
    virtual void ElevatorUp();  // nose up: pitchControl up
    virtual void ElevatorDown();
    virtual void CentreElevator();
    // The rudder's key step uses the roll key gain; right is yawControl up.
    virtual void RudderLeft();
    virtual void RudderRight();
    virtual void CentreRudder();
    // throttle ± throttleStep within [throttleMin, throttleMax]; nothing while the
    // autopilot flies.
    virtual void ThrottleUp();
    virtual void ThrottleDown();
    // Slots 19-23. Switching the autopilot or the leveller off hands the controls back
    // (HandBackControls).
    virtual bool IsStalling() const;
    virtual bool IsAutopilot() const;
    virtual void SetAutopilot(bool on);
    virtual bool IsLeveller() const;
    virtual void SetLeveller(bool on);
    // Slots 24-25: the pilot aids, run at the start of each ComputeForces while engaged
    // (FSAircraftPilot.cpp). The autopilot levels pitch and bank with all three controls
    // and sets the throttle for the drag along the flight path; the leveller levels the
    // wings with the ailerons only.
    virtual void AutopilotStep();
    virtual void LevellerStep();
    // The analog stick of this frame (the frame's analog values), once a flight frame:
    // the stick's deflection puts the ailerons, elevator and rudder at the same fraction of
    // their travel, moving there at the stylus's rate at the pad's edge (a held key's if
    // faster); a stick let go (or unplugged)
    // brings them back to centre at that rate and then leaves them to the keys. A moved
    // throttle lever sets the throttle. Deflecting the stick or moving the lever switches
    // the pilot aids off. FSAircraftStick.cpp.
    virtual void AnalogStep();
    // Slot 26. A game control command: the action codes 12-37 of the input (elevator,
    // ailerons, rudder and their releases, autopilot, look-around, throttle, stylus).
    // True when handled; a touch-pad command off the pad (or without touch steering) and
    // every other code give false. The parameter is not used.
    virtual bool HandleCommand(int code, int parameter);

    // ---- Loading ----

    // Where Load reads descriptions; empty (the default) means MakeDataPath of
    // "data\aircrafts.zip". Tests and tools point it at their own archive.
    void SetDescriptionArchive(const std::string& archivePath) { descriptionArchive_ = archivePath; }
    std::string DescriptionArchive() const;
    // What Load does with the text it read (a null block is a missing file): clears the
    // description, parses the text, makes the plate positions relative to the centre of
    // gravity, fills the tank and runs the initial trim. The game aircraft's own load
    // steps are not part of it.
    void LoadDescription(const FSMemoryBlock& text);
    // The line loop of Parse on plain text (no message for an empty text).
    void ParseText(std::string_view text);

    // ---- Read-outs (HUD, instruments, camera) ----

    // Speed along the nose axis kept by the node, km/h; 0 when not moving forward.
    float Airspeed() const;
    // Climb rate, m/s (world y).
    float VerticalSpeed() const;
    // Altitude above altitude 0, km (scene height − 5 km).
    float Altitude() const;
    // throttle / throttleMax, 0 when throttleMax is 0.
    float ThrottleFraction() const;
    // MFSThrustSource, for the propeller: the throttle fraction.
    float ThrustFraction() const override { return ThrottleFraction(); }
    // The look-around camera's direction in world axes.
    FSVector LookDirection() const;
    // Pitch (positive nose up) and bank (negative banked to the right) in rad, from where
    // the world's up lies in the body frame. Used by the pilot aids and the horizon.
    void Attitude(float& pitch, float& bank) const;

    // ---- Fuel, look-around, controls ----

    // Fuel on board = fraction × fuelCapacity, the mass following. Ignored unless the
    // fraction lies in [0, 1].
    void SetFuelFraction(float fraction);
    // 0 or 1; turning it off points lookVector forward again.
    void SetLookAround(int on);
    int GetLookAround() const { return lookAround; }
    const FSVector& GetLookVector() const { return lookVector; }  // body frame
    // Where the touch-pad steering finds the pad's rectangles (the pad instrument). Without
    // a lookup the stylus commands are refused as off the pad.
    void SetTouchpadLookup(FSTouchpadLookup lookup) { touchpadLookup_ = std::move(lookup); }
    // The game settings and the frame values the controls read; both must outlive the
    // aircraft. Until they are set, the factory settings at time scale 1 with the stylus
    // at (0, 0).
    void SetControlSettings(const FSGameBlock& game, const FSFrameValues& frame) {
        game_ = &game;
        frame_ = &frame;
    }

    // Store a control value (rad, not clamped: the actuators clamp) and write its plates.
    void SetRollControl(float radians);
    void SetPitchControl(float radians);
    void SetYawControl(float radians);
    float GetRollControl() const { return rollControl; }
    float GetPitchControl() const { return pitchControl; }
    float GetYawControl() const { return yawControl; }
    // Sets the sea-level thrust setting (kN) as it is; the force model uses it as set.
    void SetThrottle(float kN) { throttle = kN; }
    float GetThrottle() const { return throttle; }

    // ---- Description and state, read-only ----

    int SurfaceCount() const { return surfaceCount; }
    // Plate i (0 <= i < SurfaceCount()).
    const AircraftSurface& Surface(int i) const { return surfaces[static_cast<size_t>(i)]; }
    const FSVector& GetCG() const { return cg; }  // km, in the file's axes reordered to body axes
    float PitchMin() const { return pitchMin; }
    float PitchMax() const { return pitchMax; }
    float PitchRate() const { return pitchRate; }
    float RollMin() const { return rollMin; }
    float RollMax() const { return rollMax; }
    float RollRate() const { return rollRate; }
    float YawMin() const { return yawMin; }
    float YawMax() const { return yawMax; }
    float YawRate() const { return yawRate; }
    float ThrottleMin() const { return throttleMin; }
    float ThrottleMax() const { return throttleMax; }
    float ThrottleStep() const { return throttleStep; }
    float Fuel() const { return fuel; }  // kg on board
    float FuelReserve() const { return fuelReserve; }
    float FuelCapacity() const { return fuelCapacity; }
    float FuelFlow() const { return fuelFlow; }  // kg/s at full thrust
    // Sums of the last force computation (kN) and the thrust it applied (kN).
    float TotalLift() const { return totalLift; }
    float TotalDrag() const { return totalDrag; }
    float Thrust() const { return thrust; }

protected:
    // The load's last step: from a standstill above or below altitude 0 (not at it),
    // level flight along the nose at the speed where the mean lift of the plates carries
    // the weight, with the throttle set for the matching drag. Where the air has no
    // density the autopilot is engaged instead. FSAircraftForces.cpp.
    void InitialTrim();
    // Changes the number of plates (the game aircraft adds its flaps); new plates are
    // zeroed, existing ones kept.
    void SetSurfaceCount(int count);
    // Copy the control fields onto their plates.
    void WriteAilerons();
    void WriteElevator();
    void WriteRudder();
    // Stylus steering from the last stylus point (codes 36 and 37).
    bool TouchpadSteering();
    // The proportional controls the stylus and the stick share: the control moves toward
    // target (rad) by at most step and is held to its limits. A held move sets the move
    // flag of the target's side, so the force model repeats the key step between commands
    // (the stylus); otherwise both move flags are cleared and the control stays where it
    // was put (the stick). Either clears the centring flag.
    void SteerAilerons(float target, float step, bool held);
    void SteerElevator(float target, float step, bool held);
    void SteerRudder(float target, float step);
    // Turns the look-around direction about the body's up axis (rad, positive to the left).
    void TurnLookVector(float radians);
    // The autopilot and the leveller both scale a bank angle (rad) into an aileron
    // deflection: a full half turn of bank gives full deflection.
    float AileronForBank(float bank) const;
    // The pilot aids keep the ailerons they set: the aileron centring flag is cleared.
    void HoldAilerons();
    // Switching a pilot aid off (SetAutopilot, SetLeveller) hands the ailerons and the
    // rudder back as released keys leave them: they return to centre unless a key holds
    // them. The elevator keeps its deflection, as it does when its key is released.
    void HandBackControls();

    // Plates, in the order of FSSurfaceIndex; surfaces.size() == surfaceCount.
    int surfaceCount = kBaseSurfaceCount;
    std::vector<AircraftSurface> surfaces;
    FSVector cg;  // km

    // Elevator: current deflection, travel limits (rad) and rate (rad per unit of key
    // gain: a key step is T × rate × gain; the stylus steps by its own gain alone).
    float pitchControl = 0.0f;
    float pitchMin = 0.0f;
    float pitchMax = 0.0f;
    float pitchRate = 0.0f;
    // Ailerons.
    float rollControl = 0.0f;
    float rollMin = 0.0f;
    float rollMax = 0.0f;
    float rollRate = 0.0f;
    // Rudder.
    float yawControl = 0.0f;
    float yawMin = 0.0f;
    float yawMax = 0.0f;
    float yawRate = 0.0f;
    // Engine: the current sea-level thrust setting and its range and step, kN. The
    // thrust delivered scales with the air density.
    float throttle = 0.0f;
    float throttleMin = 0.0f;
    float throttleMax = 0.0f;
    float throttleStep = 0.0f;
    // Fuel, kg (fuelFlow kg/s at full throttle). The engine cannot use the reserve.
    float fuel = 0.0f;
    float fuelReserve = 0.0f;
    float fuelCapacity = 0.0f;
    float fuelFlow = 0.0f;

    bool stalling = false;
    bool autopilot = false;
    bool leveller = false;
    // Held controls: a move flag stays set while its key is held; a centring flag while
    // the control returns to (and stays at) 0. ComputeForces re-runs them every sub-step.
    bool aileronLeft = false;
    bool aileronRight = false;
    bool aileronCentring = true;
    bool elevatorUp = false;
    bool elevatorDown = false;
    bool elevatorCentring = true;
    bool rudderLeft = false;
    bool rudderRight = false;
    bool rudderCentring = true;
    // A command (key, stick or stylus) moved the ailerons or the rudder since the last
    // sub-step: that sub-step does not repeat the held or centring step on top of it.
    bool aileronsCommanded = false;
    bool rudderCommanded = false;

    int lookAround = 0;
    FSVector lookVector;  // body frame; forward unless looking around

    float totalLift = 0.0f;  // kN
    float totalDrag = 0.0f;  // kN
    float thrust = 0.0f;     // kN

private:
    // Which controls the stick moved last (roll, pitch, yaw) and is bringing back to
    // centre, and the throttle lever it last set (below 0: none yet).
    bool stickHolds_[3] = {false, false, false};
    float stickThrottle_ = -1.0f;

    std::string descriptionArchive_;
    FSTouchpadLookup touchpadLookup_;
    const FSGameBlock* game_ = &FactoryGameBlock();
    const FSFrameValues* frame_ = &kRestingFrame;
    static const FSFrameValues kRestingFrame;
};
