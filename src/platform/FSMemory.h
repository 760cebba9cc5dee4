#pragma once
// The process's heap between flights, and what the process holds.
#include <cstddef>

namespace platform {
// Gives the pages of freed heap memory back to the system. A flight's world (terrain,
// decoded pictures, sounds, the driver's buffers) is freed when the flight goes; left in
// the heap, its pages stayed resident and the resident size crept up over the first
// flights of an evening as the next flights' blocks fitted around them.
void ReleaseFreeMemory();
// Bytes of the heap in use now: every block handed out and not yet freed, by the game and
// by the libraries it calls alike.
size_t HeapInUse();
// The most resident memory the process has held so far, in bytes (0 where unknown).
size_t PeakResidentBytes();
}  // namespace platform
