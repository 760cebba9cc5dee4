#pragma once
// A fountain: particles leave the emission point upward (along the base velocity's y)
// at 60 % to 100 % of its speed, scattered sideways by the spread factor. Smoke of an
// object that does not move. Never finishes.
#include "world/FSEmmiter.h"

class TFSFountainEmmiter : public MFSEmmiter {
public:
    // spread: 16.16 factor on the sideways scatter (0.8 for smoke).
    TFSFountainEmmiter(FSFixed initialLife, const FSFixedVector& velocity, const FSFixedVector& acceleration,
                       FSFixed spread)
        : MFSEmmiter(initialLife, velocity, acceleration), spread_(spread) {}

    // Velocity per particle, with three fresh random factors r in [−0.5, 0.5):
    // (base x × spread × r1, base y × (0.8 + 0.4 × r2), base z × spread × r3).
    bool Emit(std::vector<FSParticle>& particles, int count, const FSFixedVector& position,
              const FSCell& cell, const FSFixedVector& direction, uint32_t colour,
              const FSFrame& frame) override;

private:
    FSFixed spread_;
};
