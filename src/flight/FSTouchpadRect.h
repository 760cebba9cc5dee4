#pragma once
// The stylus touch-pad as the steering sees it: a rectangle on the screen with a dead
// zone at its centre, one per flight orientation ("screengame_align" 0, 1, 2). The pad
// instrument owns the rectangles; the aircraft asks for them through a lookup so that the
// flight model needs nothing from the HUD.
#include <cstdint>
#include <functional>

struct FSTouchpadRect {
    // Top-left corner and size, in the pixels of the alignment's own screen orientation
    // (the stylus point's coordinates).
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    // Size of the centred dead zone, where the stylus moves no control.
    int32_t deadWidth = 0;
    int32_t deadHeight = 0;
};

// The rectangle of an alignment; false when there is none (no pad, or an alignment other
// than 0, 1 and 2).
using FSTouchpadLookup = std::function<bool(int alignment, FSTouchpadRect& rect)>;
