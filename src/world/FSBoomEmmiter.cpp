#include "world/FSBoomEmmiter.h"

#include "world/FSRandom.h"

bool TFSBoomEmmiter::Emit(std::vector<FSParticle>& particles, int count, const FSFixedVector& position,
                          const FSCell& cell, const FSFixedVector& /*direction*/, uint32_t colour,
                          const FSFrame& /*frame*/) {
    if (fired_) return !particles.empty();
    CFSRandom& random = WorldRandom();
    const FSFixedVector& base = BaseVelocity();
    for (int i = 0; i < count; ++i) {
        FSFixedVector velocity;
        velocity.x = FixedMul(base.x, random.Factor());
        velocity.y = FixedMul(base.y, random.Factor());
        velocity.z = FixedMul(base.z, random.Factor());
        particles.push_back(NewParticle(velocity, position, cell, colour));
    }
    fired_ = true;
    return true;
}
