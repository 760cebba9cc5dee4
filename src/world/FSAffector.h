#pragma once
// What happens to the particles of a system in every update, after the emission: pull
// them down, age them, delete the spent ones. A system applies its affectors in the
// order they were appended.
//
// Every change is sized per designed frame (one at 18 frames a second); an update hands
// the part of such a frame it stands for (FrameStep, 16.16), so that particles last, fall
// and flicker alike in flight time at any frame rate.
#include <vector>

#include "world/FSParticle.h"

class MFSAffector {
public:
    // step: the part of a designed frame this update stands for (16.16, 1.0 = one).
    virtual void Apply(std::vector<FSParticle>& particles, FSFixed step) = 0;
    virtual ~MFSAffector() = default;
};

// Takes step (16.16 frames) off every particle's life and erases, in place and in order,
// each particle whose life is then 1.0 or less; lifeFactor first changes each particle's
// life, in list order.
template <class LifeFactor>
void AgeParticles(std::vector<FSParticle>& particles, FSFixed step, LifeFactor lifeFactor) {
    size_t kept = 0;
    for (size_t i = 0; i < particles.size(); ++i) {
        FSParticle& particle = particles[i];
        particle.life = lifeFactor(particle.life) - step;
        if (particle.life <= kFixedOne) continue;
        if (kept != i) particles[kept] = particle;
        ++kept;
    }
    particles.resize(kept);
}
