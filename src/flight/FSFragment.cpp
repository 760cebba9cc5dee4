#include "flight/FSFragment.h"

FSFragment::FSFragment(MFSSceneNode& node, const FSVector& velocity, float mass, const SineTable& sine)
    : MFSMoveableObject(node, velocity, mass, sine) {}

void FSFragment::ComputeForces() {}
