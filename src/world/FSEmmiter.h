#pragma once
// How the particles of a particle system are born. The system asks its emitter once per
// update for the particles it is short of; the emitter appends them to the system's list.
// The three kinds share their starting values: the initial life and the base velocity
// and acceleration that each kind spreads in its own way.
#include <cstdint>
#include <vector>

#include "world/FSFixedVector.h"
#include "world/FSFrame.h"
#include "world/FSParticle.h"
#include "world/FSWorldPosition.h"

class MFSEmmiter {
public:
    // Appends up to count particles born at position (local to cell) moving along
    // direction (a unit vector, 16.16), coloured colour (the system's colour word).
    // False when the emitter has finished and the system may end.
    virtual bool Emit(std::vector<FSParticle>& particles, int count, const FSFixedVector& position,
                      const FSCell& cell, const FSFixedVector& direction, uint32_t colour,
                      const FSFrame& frame) = 0;
    virtual ~MFSEmmiter() = default;

    // Frames (16.16) a new particle lives; the draw compares each particle's life with it.
    FSFixed InitialLife() const { return initialLife_; }
    const FSFixedVector& BaseVelocity() const { return velocity_; }

protected:
    MFSEmmiter(FSFixed initialLife, const FSFixedVector& velocity, const FSFixedVector& acceleration)
        : initialLife_(initialLife), velocity_(velocity), acceleration_(acceleration) {}

    // A particle at position and cell with the base acceleration, the initial life, the
    // colour and this emitter; the velocity is the caller's.
    FSParticle NewParticle(const FSFixedVector& velocity, const FSFixedVector& position, const FSCell& cell,
                           uint32_t colour) const;

private:
    FSFixed initialLife_;
    FSFixedVector velocity_;      // km per 25 frames (see FSParticle)
    FSFixedVector acceleration_;  // its change per 25 frames
};
