#pragma once
// Ageing: one frame off every particle's life per update; a particle is erased as soon as
// its life is 1.0 or less, so a life of 10.0 is drawn in eight frames (9.0 down to 2.0).
#include "world/FSAffector.h"

class TFSFadeOutAffector : public MFSAffector {
public:
    void Apply(std::vector<FSParticle>& particles) override {
        AgeParticles(particles, [](FSFixed life) { return life; });
    }
};
