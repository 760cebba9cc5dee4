#pragma once
// The movement of what the wind carries: "air" gates swing to and fro along the wind
// (one full swing every period × 2π time units), clouds and the cloud layer drift with it
// at a constant velocity. Attached to a node as its moveable object; the engine's
// movement step integrates the velocity set here into the node's position. Massless:
// no force ever changes the velocity.
#include <cstdint>

#include "flight/FSMoveableObject.h"

class CFSRandom;

class TSPOscillator : public MFSMoveableObject {
public:
    // wind: the route's wind (world frame, km/s), copied. period: the swing parameter; 0
    // (or within 1e-6 of it) drifts at the constant velocity wind × cos(phase). The phase
    // is taken from random (0..2π), which is then seeded again with seed so that building
    // a route leaves the game's random sequence where it was set.
    TSPOscillator(MFSSceneNode& node, const FSVector& wind, float period, const SineTable& sine,
                  CFSRandom& random, uint32_t seed);
    ~TSPOscillator() override;

    // Each step of a swinging movement: velocity = wind × cos(2π × time / period + phase)
    // by the sine table, then time advances by the step and wraps at period.
    void ComputeForces() override;

    const FSVector& Direction() const { return direction_; }
    float Period() const { return period_; }  // time units of one full swing
    float Phase() const { return phase_; }    // radians
    float Time() const { return time_; }

private:
    // cos(2π × time / period + phase) by the table, linearly interpolated.
    float Cosine() const;

    FSVector direction_;
    float period_ = 0.0f;
    float phase_ = 0.0f;
    float time_ = 0.0f;
};
