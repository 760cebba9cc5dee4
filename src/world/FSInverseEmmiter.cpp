#include "world/FSInverseEmmiter.h"

#include <algorithm>

bool TFSInverseEmmiter::Emit(std::vector<FSParticle>& particles, int count, const FSFixedVector& position,
                             const FSCell& cell, const FSFixedVector& /*direction*/, uint32_t colour,
                             const FSFrame& frame) {
    due_ += FrameStep(frame);
    if (due_ < kFixedOne) return true;
    // One emission per update at most: a long update (a slow frame) lays one longer step.
    due_ = std::min(due_ - kFixedOne, kFixedOne - 1);

    if (count < kTrailSteps) {
        const size_t oldest =
            std::min(particles.size(), static_cast<size_t>(kTrailSteps - std::max(count, 0)));
        particles.erase(particles.begin(), particles.begin() + static_cast<std::ptrdiff_t>(oldest));
    }
    const FSFixedVector atRest;
    particles.push_back(NewParticle(atRest, position, cell, colour));
    particles.back().acceleration = atRest;
    if (particles.size() < 2) return true;

    // E − P across cells: an owner that has just crossed into the next cell must not draw
    // its trail back over the whole width of the cell.
    const FSParticle& previous = particles[particles.size() - 2];
    const FSFixedVector back = WrappedDifference(previous.position, previous.cell, position, cell);
    const FSFixedVector step = {-back.x / kTrailSteps, -back.y / kTrailSteps, -back.z / kTrailSteps};
    FSFixedVector point = position;
    for (int i = 1; i < kTrailSteps; ++i) {
        point = point - step;
        particles.push_back(NewParticle(atRest, point, cell, colour));
        particles.back().acceleration = atRest;
    }
    return true;
}
