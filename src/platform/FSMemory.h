#pragma once
// The process's heap between flights.

namespace platform {
// Gives the pages of freed heap memory back to the system. A flight's world (terrain,
// decoded pictures, sounds, the driver's buffers) is freed when the flight goes; left in
// the heap, its pages stayed resident and the resident size crept up over the first
// flights of an evening as the next flights' blocks fitted around them.
void ReleaseFreeMemory();
}  // namespace platform
