#include "world/FSFountainEmmiter.h"

#include "world/FSRandom.h"

namespace {
constexpr FSFixed kUpwardBase = 52428;   // 0.8
constexpr FSFixed kUpwardRange = 26214;  // 0.4
}  // namespace

bool TFSFountainEmmiter::Emit(std::vector<FSParticle>& particles, int count, const FSFixedVector& position,
                              const FSCell& cell, const FSFixedVector& /*direction*/, uint32_t colour,
                              const FSFrame& /*frame*/) {
    CFSRandom& random = WorldRandom();
    const FSFixedVector& base = BaseVelocity();
    for (int i = 0; i < count; ++i) {
        FSFixedVector velocity;
        velocity.x = FixedMul(FixedMul(base.x, spread_), random.Factor());
        velocity.y = FixedMul(base.y, kUpwardBase + FixedMul(kUpwardRange, random.Factor()));
        velocity.z = FixedMul(FixedMul(base.z, spread_), random.Factor());
        particles.push_back(NewParticle(velocity, position, cell, colour));
    }
    return true;
}
