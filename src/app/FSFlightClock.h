#pragma once
// The pausable clock behind the flight's TIME read-out (seconds by default).
#include <cstdint>

class FlightClock {
public:
    void Reset(uint32_t now);  // 0 and running
    int32_t Read(uint32_t now) const;
    void Stop(uint32_t now);     // freezes the value
    void Restart(uint32_t now);  // runs on from the frozen value
    bool Stopped() const { return stopped_ != 0; }

private:
    int32_t value_ = 0;
    int32_t stopped_ = 1;
    uint32_t start_ = 0;
    int32_t divisor_ = 1000;  // milliseconds per unit
};
