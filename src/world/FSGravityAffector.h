#pragma once
// Gravity on particles: every update lowers each particle's upward velocity by 26 / 65536
// (about 0.0004 km per 25 frames), a gentle sag for smoke and falling sparks.
#include "world/FSAffector.h"

class TFSGravityAffector : public MFSAffector {
public:
    static constexpr FSFixed kPull = 26;

    void Apply(std::vector<FSParticle>& particles) override {
        for (FSParticle& particle : particles)
            particle.velocity.y -= kPull;
    }
};
