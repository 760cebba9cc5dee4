// The force model of CFSAircraft, run once per sub-step, and the initial trim.
//
// Each plate is a flat plate in the local airflow: the flow at its point is the body
// velocity plus the turn rate × its position, its angle of attack is asin(flow · normal),
// and the shared curves give its lift (across the flow, in the plane of flow and normal)
// and drag (along the flow). Forces are summed in the body frame with their moments about
// the centre of gravity; thrust pushes along the nose through the centre of gravity; the
// sum is turned to the world frame and gravity is added there.
#include <algorithm>
#include <cmath>

#include "flight/FSAircraft.h"
#include "flight/FSAircraftCurves.h"
#include "world/FSSceneNode.h"
#include "world/FSSineTable.h"

namespace {

// The plate's normal in body axes, unit length (a zero normal stays zero).
FSVector PlateNormal(const AircraftSurface& surface, const SineTable& sine) {
    const float cosIncidence = sine.Cos(surface.incidence);
    const FSVector n(sine.Sin(surface.dihedral) * cosIncidence, sine.Sin(surface.incidence),
                     sine.Cos(surface.dihedral) * cosIncidence);
    const float length = Length(n);
    return length != 0.0f ? n / length : n;
}

}  // namespace

void CFSAircraft::ComputeForces() {
    // 1. Pilot aids, then the held controls, each flag read as it stands at its test. A
    // held aileron or rudder key moves its control a step per sub-step, a released one
    // returns it a step per sub-step; a sub-step that a command has already moved the
    // control in takes no second step, so a key tapped for one pass moves it by one step
    // (at 60 frames a second a frame is a single sub-step, and a held key's command fires
    // on every frame). The elevator is the exception: a held key moves it once per
    // command, and a released elevator keeps its deflection, like a trim. Its centring
    // flag only ends here, without moving it: stepping it back and then up again, as the
    // ailerons' pattern would, made every release creep the elevator nose-up and
    // swallowed short nose-down presses.
    if (autopilot) AutopilotStep();
    if (leveller) LevellerStep();
    if (!aileronsCommanded) {
        if (aileronCentring) CentreAileron();
        if (aileronLeft) AileronLeft();
        if (aileronRight) AileronRight();
    }
    aileronsCommanded = false;
    elevatorCentring = false;
    if (!rudderCommanded) {
        if (rudderCentring) CentreRudder();
        if (rudderLeft) RudderLeft();
        if (rudderRight) RudderRight();
    }
    rudderCommanded = false;

    // 2. Fuel. The reserve cannot be used: once the tank is down to it the throttle falls
    // back to its minimum, the engine's idle. Burning never adds fuel, whatever the signs
    // of a setting below 0 (reverse thrust) or of a damaged file's flow.
    if (fuel > fuelReserve) {
        mass -= fuel;
        fuel -= std::fabs(ThrottleFraction() * fuelFlow) * subStep;
        fuel = std::max(fuel, fuelReserve);
        mass += fuel;
    } else {
        throttle = throttleMin;
    }

    // 3.-4.
    force = FSVector();
    torque = FSVector();
    totalLift = 0.0f;
    totalDrag = 0.0f;
    const float density = ModelAirDensity(Altitude());
    const float seaLevelDensity = ModelAirDensity(0.0f);

    // 5. The aircraft's motion through the air, body frame.
    const FSQuaternion& orientation = GetNode().GetOrientation();
    const FSVector u = WorldToBody(orientation, velocity);
    const SineTable& sine = Sine();

    // 6. The plates.
    const size_t count = std::min(surfaces.size(), static_cast<size_t>(std::max(surfaceCount, 0)));
    for (size_t i = 0; i < count; ++i) {
        AircraftSurface& surface = surfaces[i];
        const FSVector& p = surface.position;
        const FSVector w = u + Cross(angularVelocity, p);
        const float speed = Length(w);
        if (speed == 0.0f) continue;

        if (i == kFuselageNose || i == kFuselageTail) {
            // The fuselage plates turn about the nose axis to face the cross-flow.
            FSVector cross = -u;
            cross.y = 0.0f;
            surface.dihedral = Length(cross) != 0.0f
                                   ? NarrowNearZero(std::atan2(static_cast<double>(cross.x),
                                                               std::fabs(static_cast<double>(cross.z))))
                                   : 0.0f;
        }

        const FSVector n = PlateNormal(surface, sine);
        const FSVector d = -w / speed;  // direction the air flows past the plate
        FSVector l = Cross(Cross(d, n), d);
        const float liftLength = Length(l);
        if (liftLength != 0.0f) l = l / liftLength;
        const float along = std::clamp(Dot(d, n), -1.0f, 1.0f);
        const float alpha = NarrowNearZero(std::asin(static_cast<double>(along)));
        const float cl = LiftCoefficient(alpha);
        const float cd = DragCoefficient(alpha);

        // The stall warning follows the wings; the right wing, evaluated last, decides.
        if (i == kLeftWing || i == kRightWing) stalling = std::fabs(alpha) > kStallWarningAngle;

        const float q = surface.area * speed * speed * density * 0.5f;
        const float lift = q * cl;
        const float drag = q * cd;
        const FSVector f = l * lift + d * drag;
        force += f;
        torque += Cross(p, f);
        totalLift += lift;
        totalDrag += drag;
    }

    // 7. Thrust along the nose through the centre of gravity, thinning with the air.
    thrust = (density / seaLevelDensity) * throttle;
    force.y += thrust;

    // 8. To the world frame, with gravity.
    force = BodyToWorld(orientation, force);
    force.y -= mass * kGravity;
}

void CFSAircraft::InitialTrim() {
    const float altitude = Altitude();
    if (altitude == 0.0f || Airspeed() != 0.0f) return;
    const float density = ModelAirDensity(altitude);
    const float seaLevelDensity = ModelAirDensity(0.0f);
    if (density == 0.0f) {
        // No air to fly in: the autopilot takes over from the start.
        SetAutopilot(true);
        return;
    }

    const float weight = mass * kGravity;
    float area = 0.0f;
    float areaLift = 0.0f;
    float areaDrag = 0.0f;
    const size_t count = std::min(surfaces.size(), static_cast<size_t>(kBaseSurfaceCount));
    for (size_t i = 0; i < count; ++i) {
        const AircraftSurface& surface = surfaces[i];
        area += surface.area;
        areaLift += surface.area * LiftCoefficient(-surface.incidence);
        areaDrag += surface.area * DragCoefficient(-surface.incidence);
    }
    // Without plates, or with plates that give no lift flying along the nose, there is no
    // level flight to start in: the aircraft stays as it is.
    if (!(area > 0.0f)) return;
    const float meanLift = (1.0f / area) * areaLift;
    const float meanDrag = (1.0f / area) * areaDrag;
    if (!(meanLift > 0.0f)) return;

    // Level flight: lift carries the weight (W = ½ρV²S·cl), thrust matches the drag.
    thrust = (meanDrag / meanLift) * weight;
    throttle = std::max(throttleMin, std::min((seaLevelDensity / density) * thrust, throttleMax));
    const float speed =
        NarrowNearZero(std::sqrt(static_cast<double>(thrust / (area * meanDrag * density * 0.5f))));
    velocity = BodyToWorld(GetNode().GetOrientation(), forward * speed);
}
