#pragma once
// One particle of a particle system: a plain record, kept by value in the system's
// contiguous list and aged by its affectors. All values are 16.16 unless stated.
#include <cstdint>

#include "world/FSFixedVector.h"
#include "world/FSWorldPosition.h"

class MFSEmmiter;

struct FSParticle {
    // km per 25 frames: each update moves the particle by 0.04 × velocity, then adds
    // 0.04 × acceleration to the velocity.
    FSFixedVector velocity;
    FSFixedVector acceleration;
    // Frames left (1.0 = one frame). The quad grows and fades as this falls below the
    // emitter's initial life.
    FSFixed life = 0;
    // Packed bytes: red bits 0-7, green 8-15, blue 16-23.
    uint32_t colour = 0;
    // km, local to cell.
    FSFixedVector position;
    FSCell cell;
    // The emitter that made it (for its initial life); owned by the same system.
    const MFSEmmiter* emitter = nullptr;
};
