#pragma once
// A trail: every emission adds particles at rest along the way from the last particle to
// the emission point, so a moving owner leaves an unbroken line of smoke behind it. When
// the pool is nearly full the oldest particles make room.
//
// The trail is laid once per designed frame (one at 18 frames a second), whatever the
// frame rate: the owner then moves as far between two emissions as the trail was made
// for, and the pool holds as long a trail. Between emissions the head lags less than one
// designed frame's way behind the emission point.
#include "world/FSEmmiter.h"

class TFSInverseEmmiter : public MFSEmmiter {
public:
    // The base velocity and acceleration are kept but not used: trail particles are
    // born at rest.
    TFSInverseEmmiter(FSFixed initialLife, const FSFixedVector& velocity, const FSFixedVector& acceleration)
        : MFSEmmiter(initialLife, velocity, acceleration) {}

    // Adds the frame's part of a designed frame (FrameStep) to what is due; while less
    // than one frame is due, nothing is emitted. Otherwise, with fewer than 10 wanted, the
    // oldest (10 − count) particles are erased first. Appends one particle at position E;
    // when the list then holds at least two, with P the particle before it (seen from E's
    // cell) and step = (E − P) / 10, nine more at E − step ... E − 9 step, all in E's cell.
    // Always true.
    bool Emit(std::vector<FSParticle>& particles, int count, const FSFixedVector& position,
              const FSCell& cell, const FSFixedVector& direction, uint32_t colour,
              const FSFrame& frame) override;

    static constexpr int kTrailSteps = 10;

private:
    // 16.16 designed frames since the last emission; the first call emits at once.
    FSFixed due_ = kFixedOne;
};
