#pragma once
// What the scene's update pass hands every node: the frame's time and its length.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "world/FSFixed.h"

struct FSFrame {
    // Milliseconds since the application context was created (its creation tick); the
    // base of all scene animation (cloud drift, flicker, propeller phase).
    uint32_t time = 0;
    // The simulation's time factor for this frame, 18 / frames per second (the engine
    // holds it to 0.25 .. 4). 1.0 is a frame at the 18 frames a second that the effects
    // which change by a fixed amount per frame (particles) were sized for.
    float timeScale = 1.0f;
};

// How much of a designed frame (one at 18 frames a second) this update stands for: the
// time scale in 16.16, rounded, held to 0 .. 4.0; not a number counts as 1.0.
inline FSFixed FrameStep(const FSFrame& frame) {
    if (std::isnan(frame.timeScale)) return kFixedOne;
    return static_cast<FSFixed>(std::lround(std::clamp(frame.timeScale, 0.0f, 4.0f) * 65536.0f));
}
