#include "app/FSFlightClock.h"

void FlightClock::Reset(uint32_t now) {
    value_ = 0;
    stopped_ = 0;
    start_ = now;
}

int32_t FlightClock::Read(uint32_t now) const {
    if (stopped_) return value_;
    return value_ + static_cast<int32_t>(static_cast<float>(now - start_) / static_cast<float>(divisor_));
}

void FlightClock::Stop(uint32_t now) {
    if (stopped_) return;
    value_ = Read(now);
    stopped_ = 1;
}

void FlightClock::Restart(uint32_t now) {
    if (!stopped_) return;
    stopped_ = 0;
    start_ = now;
}
