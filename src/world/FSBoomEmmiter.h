#pragma once
// A burst: one emission of the whole pool in random directions, then nothing. Explosions
// and the puff of a touched gate. The system ends once the burst has died out.
#include "world/FSEmmiter.h"

class TFSBoomEmmiter : public MFSEmmiter {
public:
    TFSBoomEmmiter(FSFixed initialLife, const FSFixedVector& velocity, const FSFixedVector& acceleration)
        : MFSEmmiter(initialLife, velocity, acceleration) {}

    // First call: count particles with velocity = base velocity × (r1, r2, r3) per axis
    // (fresh random factors in [−0.5, 0.5)); true. Every later call: emits nothing and
    // returns whether any particle is left.
    bool Emit(std::vector<FSParticle>& particles, int count, const FSFixedVector& position,
              const FSCell& cell, const FSFixedVector& direction, uint32_t colour,
              const FSFrame& frame) override;

    bool HasFired() const { return fired_; }

private:
    bool fired_ = false;
};
