#pragma once
// Ageing with a flicker: once every designed frame, before that frame is taken off, every
// particle's life is multiplied by a fresh random factor in [0.5, 1.5), so the particles
// of a trail die raggedly instead of all at the same age. Erases spent particles as the
// fade-out does.
#include "world/FSAffector.h"
#include "world/FSRandom.h"

class TFSRandomLifetimeAffector : public MFSAffector {
public:
    void Apply(std::vector<FSParticle>& particles, FSFixed step) override {
        // A factor per update would shorten lives the more updates a second there are:
        // the factors come once per designed frame (several in one long update).
        due_ += step;
        int factors = 0;
        for (; due_ >= kFixedOne; due_ -= kFixedOne)
            ++factors;
        CFSRandom& random = WorldRandom();
        AgeParticles(particles, step, [&random, factors](FSFixed life) {
            for (int k = 0; k < factors; ++k)
                life = FixedMul(life, kFixedOne + random.Factor());
            return life;
        });
    }

private:
    FSFixed due_ = 0;  // 16.16 designed frames since the last factor
};
