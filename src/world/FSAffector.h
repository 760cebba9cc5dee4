#pragma once
// What happens to the particles of a system in every update, after the emission: pull
// them down, age them, delete the spent ones. A system applies its affectors in the
// order they were appended.
#include <vector>

#include "world/FSParticle.h"

class MFSAffector {
public:
    virtual void Apply(std::vector<FSParticle>& particles) = 0;
    virtual ~MFSAffector() = default;
};

// Takes one frame (1.0) off every particle's life and erases, in place and in order,
// each particle whose life is then 1.0 or less; lifeFactor (when given) first changes
// each particle's life, in list order.
template <class LifeFactor>
void AgeParticles(std::vector<FSParticle>& particles, LifeFactor lifeFactor) {
    size_t kept = 0;
    for (size_t i = 0; i < particles.size(); ++i) {
        FSParticle& particle = particles[i];
        particle.life = lifeFactor(particle.life) - kFixedOne;
        if (particle.life <= kFixedOne) continue;
        if (kept != i) particles[kept] = particle;
        ++kept;
    }
    particles.resize(kept);
}
