#pragma once
// Ageing with a flicker: before each frame is taken off, every particle's life is
// multiplied by a fresh random factor in [0.5, 1.5), so the particles of a trail die
// raggedly instead of all at the same age. Erases spent particles as the fade-out does.
#include "world/FSAffector.h"
#include "world/FSRandom.h"

class TFSRandomLifetimeAffector : public MFSAffector {
public:
    void Apply(std::vector<FSParticle>& particles) override {
        CFSRandom& random = WorldRandom();
        AgeParticles(particles,
                     [&random](FSFixed life) { return FixedMul(life, kFixedOne + random.Factor()); });
    }
};
