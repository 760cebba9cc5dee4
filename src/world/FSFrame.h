#pragma once
// What the scene's update pass hands every node: the frame's time.
#include <cstdint>

struct FSFrame {
    // Milliseconds since the application context was created (its creation tick); the
    // base of all scene animation (cloud drift, flicker, propeller phase).
    uint32_t time = 0;
};
