#pragma once
// A rigid body that moves a scene node: velocity, angular velocity, mass, a diagonal
// inertia tensor, and the force and torque that a subclass's ComputeForces gathers each
// sub-step. The position and the orientation are the node's (16.16 km and a quaternion
// mapping body axes to world axes, FSSceneNode.h); the node owns this object as its
// moveable object and the engine steps it once per flight frame with Integrate.
//
// Units: km, s, kg, kN (kg·km/s²), rad. Frames: velocity and the finished force are world
// frame (y up); angular velocity and torque are body frame (x right wing, y nose, z up).
#include <cstdint>

#include "world/FSFixedVector.h"
#include "world/FSProperty.h"
#include "world/FSVectorMath.h"
#include "world/FSWorldPosition.h"

class MFSSceneNode;
class SineTable;

// How Integrate divides a step: count sub-steps of length each.
struct FSSubSteps {
    int count = 1;
    float length = 0.0f;  // s
};

class MFSMoveableObject : public MFSProperty {
public:
    // Sub-steps per second of a dividable step: a step of s seconds runs trunc(s × 20)
    // sub-steps (so each lies between 0.05 and 0.1 s), a shorter one runs once.
    static constexpr float kSubStepsPerSecond = 20.0f;
    // A step is never cut into more sub-steps than this (a 50 000 s step, which no frame
    // makes; it only keeps a wild step from looping for ever).
    static constexpr int kMaxSubSteps = 1000000;

    // The object moves node, which must outlive it (the node owns it). velocity: world
    // frame, km/s; mass: kg. Angular velocity, inertia, force, torque and the sub-step
    // start at 0, and the step is not divided. sine: the application context's table,
    // used for the rotation step.
    MFSMoveableObject(MFSSceneNode& node, const FSVector& velocity, float mass, const SineTable& sine);
    ~MFSMoveableObject() override;
    MFSMoveableObject(const MFSMoveableObject&) = delete;
    MFSMoveableObject& operator=(const MFSMoveableObject&) = delete;

    // ---- Virtual operations, in slot order (slot 0 is the destructor) ----

    // Slot 1. Fills force (world frame, kN, gravity included) and torque (body frame,
    // kN·km) for the coming sub-step; subStep holds its length. Base: nothing, so force
    // and torque keep what they hold (0 unless a subclass wrote them).
    virtual void ComputeForces();
    // Slot 2. Response to a hit, given the push-back (16.16 km) that takes the node out
    // of what it hit; a non-zero component marks the axis of the hit. The node moves back
    // by it, the velocity bounces on the hit axes and the node turns to fly along its
    // bounced nose axis; landing on top of something (push-back y < 0) stops the vertical
    // motion and levels the nose. Nothing in the game calls it yet.
    virtual void OnCollision(const FSFixedVector& pushBack);
    // Slot 3. Velocity and angular velocity become zero.
    virtual void Stop();

    // ---- Integration ----

    // Advances the node by seconds of simulated time: in sub-steps (see SubStepsFor), each
    // running ComputeForces, then velocity += force / mass × sub-step, position += velocity
    // × sub-step (semi-implicit Euler, in 16.16), angular velocity += torque / inertia ×
    // sub-step and the orientation turned by the angular velocity in the body frame. What a
    // sub-step moves below the 16.16 unit (2^-16 km, 1.5 cm) is carried to the next one,
    // also across steps while nothing else moves the node: a slow climb or a slow sink
    // shows as it is flown instead of vanishing or counting as a whole unit. The
    // node's orientation is written after every sub-step, its position only at the end
    // (Move), so position-dependent forces use the position at the start of the step. The
    // previous orientation of the node is saved first (the collision pass sweeps both).
    // A zero mass leaves the velocity alone. A zero inertia component on any axis
    // switches off all rotation by torque; an angular velocity set from outside (the game
    // aircraft's nose-wheel steering) still turns the node. A step that is not above 0 (or
    // not a number) does nothing.
    void Integrate(float seconds);

    // The sub-steps of a step of seconds: trunc(seconds × 20) of seconds / count each when
    // dividing is allowed and that count is not 0; otherwise one of the whole step.
    static FSSubSteps SubStepsFor(float seconds, bool dividable);

    // ---- State ----

    MFSSceneNode& GetNode() const { return *node_; }
    const SineTable& Sine() const { return *sine_; }
    const FSVector& GetVelocity() const { return velocity; }  // world, km/s
    void SetVelocity(const FSVector& v) { velocity = v; }
    const FSVector& GetAngularVelocity() const { return angularVelocity; }  // body, rad/s
    void SetAngularVelocity(const FSVector& w) { angularVelocity = w; }
    float GetMass() const { return mass; }                  // kg
    const FSVector& GetInertia() const { return inertia; }  // kg·km² about body x, y, z
    void SetInertia(const FSVector& kgKm2) { inertia = kgKm2; }
    // The last force computation's results: world-frame force (kN) and body torque (kN·km).
    const FSVector& GetForce() const { return force; }
    const FSVector& GetTorque() const { return torque; }
    float GetSubStep() const { return subStep; }  // s
    bool IsSubStepping() const { return subStepping; }

protected:
    // Constant body-frame unit vectors.
    const FSVector forward{0.0f, 1.0f, 0.0f};
    const FSVector up{0.0f, 0.0f, 1.0f};
    const FSVector right{1.0f, 0.0f, 0.0f};

    FSVector velocity;         // world frame, km/s
    FSVector angularVelocity;  // body frame, rad/s: x pitch (+ nose up), y roll, z yaw
    float mass = 0.0f;         // kg
    FSVector inertia;          // principal moments about body x, y, z, kg·km²
    FSVector force;            // kN: body frame while plates are summed, world frame after
    FSVector torque;           // kN·km, body frame
    float subStep = 0.0f;      // s, length of the current sub-step
    bool subStepping = false;  // whether Integrate may divide a step (aircraft do)

private:
    MFSSceneNode* node_;
    const SineTable* sine_;
    // The motion the 16.16 position has not taken yet, in 16.16 units (each in [0, 1)),
    // and where the last step left the node: a node moved since from outside (placed,
    // put onto the ground) starts afresh.
    double carried_[3] = {0.0, 0.0, 0.0};
    FSFixedVector leftAt_;
    FSCell leftIn_;
};
