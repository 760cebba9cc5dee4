#pragma once
// The world's own random source for effects that only need to look random: particle
// spread and lifetimes, the propeller's starting phase. A linear congruential generator
// with the 15-bit output range of the C library's rand() (0..32767), so the rules written
// for that range keep their meaning, but with its own state: tests seed it and replay the
// same sequence, and nothing else in the process (or another library) disturbs it.
// Main thread only.
#include <cstdint>

#include "world/FSFixed.h"

class CFSRandom {
public:
    static constexpr int kMax = 32767;

    explicit CFSRandom(uint32_t seed = 1) : state_(seed) {}

    void Seed(uint32_t seed) { state_ = seed; }
    // The next value, 0..kMax.
    int Next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFF);
    }
    // A 16.16 factor in [−0.5, 0.5): (value × 2.000061 truncated) − 32768, so the 32768
    // possible values spread evenly over the 65536 steps of one unit.
    FSFixed Factor() { return static_cast<FSFixed>(static_cast<double>(Next()) * 2.000061) - 32768; }

private:
    uint32_t state_;
};

// The generator shared by the world's effects (seeded with 1 at start).
CFSRandom& WorldRandom();
