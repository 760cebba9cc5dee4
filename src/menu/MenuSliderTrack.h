#pragma once
// The parts both sliders share: their size from the knob picture and the drawn track with
// its two end caps.
#include <cstdint>

#include "resources/FSBitmap.h"

class MenuResources;

namespace menu_slider {

// (length, knob height) lying down (orientation 0), (knob width, length) standing
// (orientation 1), nothing otherwise.
FSSize SliderSize(int length, int orientation);
// The line from column 0 of the line picture over length - 15 pixels from (left + 8, top),
// the left cap at (left - 1, top) and the right cap turned half round at (left + length - 7, top).
void DrawTrack(uint16_t* screen, const MenuResources& r, FSPoint position, int length);
// The knob (the pointer picture) with its left edge at x, three rows above top.
void DrawKnob(uint16_t* screen, const MenuResources& r, int x, int top);

}  // namespace menu_slider
