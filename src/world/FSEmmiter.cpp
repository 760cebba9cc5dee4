#include "world/FSEmmiter.h"

FSParticle MFSEmmiter::NewParticle(const FSFixedVector& velocity, const FSFixedVector& position,
                                   const FSCell& cell, uint32_t colour) const {
    FSParticle particle;
    particle.velocity = velocity;
    particle.acceleration = acceleration_;
    particle.life = initialLife_;
    particle.colour = colour;
    particle.position = position;
    particle.cell = cell;
    particle.emitter = this;
    return particle;
}
