#pragma once
// The flight's TIME and SCORE read-out in the top corner of the screen, and where the
// status lines stand beside it. The strip compass takes the top edge's middle, so the
// status column starts under it at the left, and on the narrow portrait screen the read-out
// moves under it at the right.
#include <cstdint>

class CFSFont;

// The status text's top-left point, in the upright screen of every orientation.
constexpr int kStatusLeft = 5;
constexpr int kStatusTop = 32;
// The top of the read-out's first row.
constexpr int ReadoutTop(int alignment) {
    return alignment == 0 ? 30 : 5;
}

// Draws the flight time ("m:ss") and the score right-aligned in two rows, for the
// screen orientation of the flight ("screengame_align"). withLabels adds "TIME" and
// "SCORE" in front (shown when there is no aircraft, e.g. after a crash).
void DrawTimeAndScore(const CFSFont& font, uint16_t* screen, int alignment, int32_t seconds, int32_t score,
                      bool withLabels);

// "m:ss" of a time in whole seconds, as the TIME read-out shows it (125 -> "2:05").
void FormatFlightTime(int32_t seconds, char* text, int size);
