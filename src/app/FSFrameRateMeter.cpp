#include "app/FSFrameRateMeter.h"

void FrameRateMeter::Init(uint32_t windowMs) {
    *this = FrameRateMeter();
    windowMs_ = windowMs;
}

void FrameRateMeter::Count(uint32_t now) {
    ++windowFrames_;
    ++totalFrames_;
    if (totalFrames_ == 1) {
        firstTick_ = now;
        windowStart_ = now;
        return;
    }
    const uint32_t elapsed = now - windowStart_;
    if (elapsed < windowMs_ || elapsed == 0) return;
    currentRate_ = static_cast<float>(windowFrames_) * 1000.0f / static_cast<float>(elapsed);
    const uint32_t total = now - firstTick_;
    if (total > 0) averageRate_ = static_cast<float>(totalFrames_) * 1000.0f / static_cast<float>(total);
    if (currentRate_ > highestRate_) highestRate_ = currentRate_;
    if (currentRate_ < lowestRate_) lowestRate_ = currentRate_;
    windowFrames_ = 0;
    windowStart_ = now;
}
