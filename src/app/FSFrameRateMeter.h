#pragma once
// Frames per second, measured over windows of a fixed length (500 ms for the engine).
#include <cstdint>

// The rate the main loop paces itself to, passes (frames) per second.
inline constexpr int kPacedFramesPerSecond = 60;

class FrameRateMeter {
public:
    void Init(uint32_t windowMs);
    // Counts one frame shown at tick now (milliseconds).
    void Count(uint32_t now);

    float CurrentRate() const { return currentRate_; }  // of the last complete window
    float AverageRate() const { return averageRate_; }  // since the first frame
    float HighestRate() const { return highestRate_; }
    float LowestRate() const { return lowestRate_; }

private:
    int32_t windowFrames_ = 0;
    int32_t totalFrames_ = 0;
    float averageRate_ = 0.0f;
    float currentRate_ = 0.0f;
    float highestRate_ = 0.0f;
    float lowestRate_ = 1.0e10f;
    uint32_t windowMs_ = 500;
    uint32_t firstTick_ = 0;
    uint32_t windowStart_ = 0;
};
