#pragma once
// A piece of something that shattered: it keeps the velocity it was thrown with and
// feels no force at all (not even gravity), so it flies straight on until the game
// removes it. It never rotates (its inertia is 0).
#include "flight/FSMoveableObject.h"

class FSFragment : public MFSMoveableObject {
public:
    // velocity: world frame, km/s; mass: kg (what a hit on the piece weighs).
    FSFragment(MFSSceneNode& node, const FSVector& velocity, float mass, const SineTable& sine);

    void ComputeForces() override;
};
