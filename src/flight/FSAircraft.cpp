#include "flight/FSAircraft.h"

#include "resources/FSArchive.h"
#include "world/FSSceneNode.h"

const FSFrameValues CFSAircraft::kRestingFrame{};

CFSAircraft::CFSAircraft(MFSSceneNode& node, const FSVector& velocity, const SineTable& sine)
    : MFSMoveableObject(node, velocity, 0.0f, sine), surfaces(kBaseSurfaceCount), lookVector(forward) {
    subStepping = true;
}

CFSAircraft::~CFSAircraft() = default;

std::string CFSAircraft::DescriptionArchive() const {
    return descriptionArchive_.empty() ? MakeDataPath("data\\aircrafts.zip") : descriptionArchive_;
}

void CFSAircraft::SetSurfaceCount(int count) {
    if (count < 0) count = 0;
    surfaceCount = count;
    surfaces.resize(static_cast<size_t>(count));
}

// ---- Read-outs ----

float CFSAircraft::Airspeed() const {
    const float along = Dot(velocity, ToFloat(GetNode().GetAxisY()));
    return along > 0.0f ? along * 3600.0f : 0.0f;
}

float CFSAircraft::VerticalSpeed() const {
    return velocity.y * 999.99994f;
}

float CFSAircraft::Altitude() const {
    // Altitude 0 lies at scene height 5 km.
    return FixedToFloat(GetNode().GetPosition().y - kSeaLevel);
}

float CFSAircraft::ThrottleFraction() const {
    return throttleMax != 0.0f ? throttle / throttleMax : 0.0f;
}

FSVector CFSAircraft::LookDirection() const {
    return BodyToWorld(GetNode().GetOrientation(), lookVector);
}

// ---- Fuel and look-around ----

void CFSAircraft::SetFuelFraction(float fraction) {
    // Written so that not-a-number is refused too.
    if (!(fraction >= 0.0f && fraction <= 1.0f)) return;
    mass -= fuel;
    fuel = fraction * fuelCapacity;
    mass += fuel;
}

void CFSAircraft::SetLookAround(int on) {
    lookAround = on;
    if (on == 0) lookVector = forward;
}

// ---- Controls onto plates ----

void CFSAircraft::WriteAilerons() {
    if (surfaces.size() <= static_cast<size_t>(kRightAileron)) return;
    surfaces[kLeftAileron].incidence = -rollControl;
    surfaces[kRightAileron].incidence = rollControl;
}

void CFSAircraft::WriteElevator() {
    if (surfaces.size() <= static_cast<size_t>(kElevator)) return;
    surfaces[kElevator].incidence = pitchControl;
}

void CFSAircraft::WriteRudder() {
    if (surfaces.size() <= static_cast<size_t>(kRudder)) return;
    surfaces[kRudder].incidence = yawControl;
}

void CFSAircraft::SetRollControl(float radians) {
    rollControl = radians;
    WriteAilerons();
}

void CFSAircraft::SetPitchControl(float radians) {
    pitchControl = radians;
    WriteElevator();
}

void CFSAircraft::SetYawControl(float radians) {
    yawControl = radians;
    WriteRudder();
}

// ---- Slots 19-23 ----

bool CFSAircraft::IsStalling() const {
    return stalling;
}

bool CFSAircraft::IsAutopilot() const {
    return autopilot;
}

void CFSAircraft::SetAutopilot(bool on) {
    autopilot = on;
    if (!on) HandBackControls();
}

bool CFSAircraft::IsLeveller() const {
    return leveller;
}

void CFSAircraft::SetLeveller(bool on) {
    leveller = on;
    if (!on) HandBackControls();
}

void CFSAircraft::HandBackControls() {
    // The aids keep the ailerons (and the autopilot the rudder) off centring while they
    // fly; the aid's last deflection must not stay behind, or a small leftover aileron
    // rolls the aircraft over within seconds.
    if (!aileronLeft && !aileronRight) aileronCentring = true;
    if (!rudderLeft && !rudderRight) rudderCentring = true;
}
