#pragma once
// Ageing: one frame off every particle's life per designed frame; a particle is erased as
// soon as its life is 1.0 or less, so a life of 10.0 is drawn for eight designed frames
// (9.0 down to 2.0).
#include "world/FSAffector.h"

class TFSFadeOutAffector : public MFSAffector {
public:
    void Apply(std::vector<FSParticle>& particles, FSFixed step) override {
        AgeParticles(particles, step, [](FSFixed life) { return life; });
    }
};
