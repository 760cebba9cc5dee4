#pragma once
// The flight's TIME and SCORE read-out in the top corner of the screen.
#include <cstdint>

class CFSFont;

// Draws the flight time ("m:ss") and the score right-aligned in two rows, for the
// screen orientation of the flight ("screengame_align"). withLabels adds "TIME" and
// "SCORE" in front (shown when there is no aircraft, e.g. after a crash).
void DrawTimeAndScore(const CFSFont& font, uint16_t* screen, int alignment, int32_t seconds, int32_t score,
                      bool withLabels);

// "m:ss" of a time in whole seconds, as the TIME read-out shows it (125 -> "2:05").
void FormatFlightTime(int32_t seconds, char* text, int size);
