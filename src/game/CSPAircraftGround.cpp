// CSPAircraft on the ground: the contact check the game controller runs once per frame,
// and the rolling forces the force model adds every sub-step while the aircraft rolls.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "game/CSPAircraft.h"
#include "world/FSDamageable.h"
#include "world/FSFixed.h"
#include "world/FSSceneNode.h"
#include "world/FSTerrainStorage.h"

namespace {

constexpr float kPi = 3.14159265f;
// Upright enough to roll: the up axis must lean toward the ground's normal.
constexpr float kInvertedLimit = 1e-6f;
// Rolling friction falls off a little with speed: divided by 1 + speed (km/s) × 0.005.
constexpr float kFrictionFade = 0.005f;

FSFixed Saturated(int64_t value) {
    return static_cast<FSFixed>(std::clamp<int64_t>(value, -kFixedMax, kFixedMax));
}

// How far the model reaches below the node's origin (16.16 km): the magnitude of its
// box's lowest z (the model's up axis). 0 without a model.
FSFixed Clearance(const MFSSceneNode& node) {
    const FSBox* box = node.GetModel();
    if (!box || box->IsEmpty()) return 0;
    return Saturated(std::llabs(static_cast<long long>(box->min.z)));
}

}  // namespace

bool CSPAircraft::GroundContact(bool stop) {
    const CFSTerrainStorage* terrain = FlightTerrain();
    if (!terrain) return true;
    MFSSceneNode& node = GetNode();
    const FSFixed height = terrain->HeightAboveAt(node.GetPosition(), node.GetCell());
    const FSFixed clearance = Clearance(node);
    if (height > clearance) {
        onGround = false;
        return true;
    }
    // Out of the ground: the node rests at the model's clearance above it.
    FSFixedVector position = node.GetPosition();
    position.y = Saturated(int64_t{position.y} + clearance - height);
    node.Place(position);

    // The ground's normal, pointing up.
    FSFixedVector normal = terrain->GroundNormalAt(node.GetPosition(), node.GetCell());
    if (normal.y < 0) normal = -normal;
    groundNormal = Normalise(ToFloat(normal));
    // No motion into or out of the ground, no pitching and no rolling: the wheels hold the
    // aircraft to the ground's attitude (below), so a pitch rate has nowhere to go. A
    // nose-up rate kept here would grow frame after frame under the flaps' and the
    // elevator's moment while the attitude cannot follow, and throw the nose up at
    // lift-off.
    const float sink = Dot(velocity, groundNormal);
    velocity -= groundNormal * sink;
    const float speed = Length(velocity);
    angularVelocity.x = 0.0f;
    angularVelocity.y = 0.0f;

    const FSQuaternion& orientation = node.GetOrientation();
    const FSVector nose = BodyToWorld(orientation, forward);
    const FSVector top = BodyToWorld(orientation, up);
    const bool touchingDown = !onGround;
    if (touchingDown) {
        // First contact: the blow of the touch-down hits the damage property. Wrecked or
        // upside down, the aircraft stops as it hit, not turned onto its wheels.
        const FSVector wing = BodyToWorld(orientation, FSVector(1.0f, 0.0f, 0.0f));
        const float bank = std::atan2(std::fabs(Dot(wing, groundNormal)), Dot(top, groundNormal));
        MFSDamageable* damage = DamageOf(node);
        const float blow = TouchdownSink(-sink, speed, bank);
        const bool crashed = damage && damage->Hit(mass * blow * kImpactShare) != 0.0f;
        const bool inverted = Dot(top, groundNormal) < kInvertedLimit;
        onGround = !crashed && !inverted;
        if (!onGround) {
            throttle = throttleMin;
            Stop();
            return false;
        }
    }

    // Touching down moving forward, the aircraft keeps its motion and turns its nose
    // along it; otherwise it rolls only along its heading laid onto the ground.
    FSVector direction;
    if (touchingDown && speed != 0.0f && Dot(nose, velocity) > 0.0f) {
        direction = velocity / speed;
    } else {
        direction = Normalise(Cross(groundNormal, Cross(nose, groundNormal)));
        if (direction.IsZero()) direction = top;
        velocity = direction * Dot(velocity, direction);
    }
    // Wheels down on the ground.
    node.LookAlong(direction, groundNormal);
    KeepUpright(kPi - 1e-6f);

    if (stop) {
        // Parked: engine idle, brakes set, nothing moving.
        throttle = throttleMin;
        velocity = FSVector();
        angularVelocity = FSVector();
        SetAutopilot(false);
        SetBrakes(true);
    }
    return onGround;
}

float CSPAircraft::TouchdownSink(float sink, float speed, float bank) const {
    float blow = sink;
    // The wheels are made for touching down at the landing speed. Faster, the aircraft
    // meets the ground nose-low and its sink lands on the nose wheel or the propeller, the
    // harder the faster.
    if (landingSpeed > 0.0f && speed > landingSpeed) blow *= speed / landingSpeed;
    // A wing tip that meets the ground digs in and the aircraft cartwheels over it.
    if (tipBank > 0.0f && bank > tipBank) blow = std::max(blow, speed);
    return blow;
}

void CSPAircraft::SetTouchdownLimits(float tipBank_, float landingSpeed_) {
    tipBank = tipBank_;
    landingSpeed = landingSpeed_;
}

void CSPAircraft::RollingForces() {
    // How hard the forces (gravity included) press the aircraft into the ground.
    const float press = -Dot(force, groundNormal);
    if (!(press > 0.0f)) {
        onGround = false;
        ++liftOffs;
        return;
    }

    // The ground bears what presses into it, so the aircraft stays on its surface between
    // the frame's ground checks instead of sinking along the normal (on a slope that
    // sinking has a sideways part the check's vertical lift would not undo).
    force += groundNormal * press;

    FSVector along = BodyToWorld(GetNode().GetOrientation(), forward);
    const float rolling = Dot(velocity, along);
    if (rolling < 0.0f) along = -along;
    // What the wheels can hold: rolling friction plus the brakes, kN.
    const float grip = (rollingFriction / frictionScale) * press + brakeLevel * brakeFactor;
    // The rest of the force along the track, in the direction of travel.
    const float push = Dot(force, along);
    if (rolling != 0.0f) {
        const float friction = grip * (1.0f / (std::fabs(rolling) * kFrictionFade + 1.0f));
        // Friction stops the wheels but never rolls them back: when it would reverse the
        // motion within this sub-step, it takes only what brings the aircraft to rest.
        const float toRest =
            mass != 0.0f && subStep > 0.0f ? push + mass * std::fabs(rolling) / subStep : -1.0f;
        force -= along * (toRest >= 0.0f && toRest < friction ? toRest : friction);
    } else if (grip > std::fabs(push)) {
        // Standing: the wheels hold against the push.
        force -= along * push;
    } else {
        // The push overcomes the wheels; friction still acts against it.
        force -= along * (push < 0.0f ? -grip : grip);
    }
    stalling = false;

    // Nose-wheel steering: the rudder turns the nose wheel (full rudder by steeringMax)
    // and the aircraft turns about its centre of gravity at speed × deflection / wheel
    // base. Without a wheel base or a rudder range the nose wheel rolls straight.
    const float range = yawMax - yawMin;
    if (wheelBase != 0.0f && range != 0.0f) {
        const float deflection = (-2.0f * yawControl - (yawMin + yawMax)) * steeringMax / range;
        angularVelocity.z = deflection / wheelBase * rolling;
    } else {
        angularVelocity.z = 0.0f;
    }
}
