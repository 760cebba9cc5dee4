#pragma once
// A small flight recording with every kind of pass in it (steady runs, uneven steps, time
// scale and stylus changes, a stick, actions), for the recorder's file tests and the seed
// inputs of its fuzz target.
#include <cstdint>

#include "app/FSFlightRecording.h"

namespace testing_support {

inline FSFlightRecording SampleRecording(int passes = 300) {
    FSFlightRecording r;
    r.route = 1;
    r.aircraft = 3;
    r.seed = 0x12345678u;
    r.startTick = 51000;
    r.creationTick = 50000;
    r.routeBlock.dayTime = 0;
    r.routeBlock.cloudiness = 40;
    r.result = {3, 61, 120, 1, 2, -65536, 340000, 7};
    uint32_t tick = r.startTick;
    for (int i = 0; i < passes; ++i) {
        FSReplayPass pass;
        // Steady 17 ms for a while, then the uneven steps of a window.
        tick += i < 100 ? 17u : 12u + static_cast<uint32_t>(i * 7 % 14);
        pass.tick = tick;
        pass.timeScale = i < 84 ? 0.3f : 18.0f / (55.0f + static_cast<float>(i / 30));
        pass.timeScaleActive = i >= 84 ? 1 : 0;
        pass.stylusX = i > 200 ? 120 - i / 10 : 0;
        pass.stylusY = i > 200 ? 80 : 0;
        pass.analogActive = i > 250 ? 1 : 0;
        pass.analogRoll = i > 250 ? -0.25f : 0.0f;
        pass.analogThrottle = i > 260 ? 0.75f : -1.0f;
        if (i % 45 == 44) pass.actions = {34, 28};
        if (i == 150) pass.actions = {14, 19, 12, 21};
        r.passes.push_back(pass);
    }
    return r;
}

}  // namespace testing_support
