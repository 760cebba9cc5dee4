#pragma once
// Gravity on particles: every designed frame lowers each particle's upward velocity by
// 26 / 65536 (about 0.0004 km per 25 frames), a gentle sag for smoke and falling sparks.
#include <cstdint>

#include "world/FSAffector.h"

class TFSGravityAffector : public MFSAffector {
public:
    static constexpr FSFixed kPull = 26;

    void Apply(std::vector<FSParticle>& particles, FSFixed step) override {
        // A shorter update pulls a whole part of the 26 and carries the rest (in 1/65536
        // of a velocity unit) to the next, so the pull per second is the same at any rate.
        owed_ += static_cast<int64_t>(kPull) * step;
        const FSFixed pull = static_cast<FSFixed>(owed_ >> 16);
        owed_ -= static_cast<int64_t>(pull) << 16;
        for (FSParticle& particle : particles)
            particle.velocity.y -= pull;
    }

private:
    int64_t owed_ = 0;
};
