#pragma once
// The game's millisecond clock. Everything that asks "what time is it" (frame pacing,
// the frame-rate meter, the flight clock, key repeat) goes through here, so tests and the
// headless tools can swap in a virtual clock that only moves when they say so.
#include <cstdint>

namespace platform {

// Milliseconds from a steady source (wraps after 49 days, like the device's tick count).
uint32_t TickCount();

// Sleeps for ms milliseconds. Under the virtual clock the thread that switched it on
// advances virtual time by ms instead of waiting; other threads really sleep (briefly),
// so a loading thread cannot make game time run away.
void Sleep(uint32_t ms);

// Switches to virtual time starting at startTick; the calling thread owns the clock.
void UseVirtualClock(uint32_t startTick);
void UseRealClock();
bool IsVirtualClock();
void AdvanceVirtualClock(uint32_t ms);

// Holds the time the calling thread reads at tick until ReleaseTickCount: a recorded or
// replayed flight reads one time a pass, whichever clock runs underneath. Other threads
// (the loading screen) keep reading the running clock.
void HoldTickCount(uint32_t tick);
void ReleaseTickCount();

}  // namespace platform
