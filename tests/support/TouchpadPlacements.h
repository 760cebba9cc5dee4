#pragma once
// The stylus pad's rectangles as a flight sets them up, one per flight orientation, in
// that orientation's upright pixels: the lower right quarter of the portrait screen and
// the lower outer halves of the landscape screens.
#include "resources/FSBitmap.h"

namespace testing_support {

struct TouchpadPlacement {
    int alignment;
    FSPoint origin;
    FSSize size;
    FSSize dead;  // the dead zone centred in the pad
};

inline constexpr TouchpadPlacement kTouchpadPlacements[] = {
    {0, {120, 160}, {120, 160}, {30, 40}},
    {1, {0, 120}, {160, 120}, {40, 30}},
    {2, {160, 120}, {160, 120}, {40, 30}},
};

// Whether a rectangle the pad hands out (its x, y, width, height and dead zone) is exactly
// placement p.
template <class Rect>
bool IsPlacedAt(const Rect& r, const TouchpadPlacement& p) {
    return r.x == p.origin.x && r.y == p.origin.y && r.width == p.size.w && r.height == p.size.h &&
           r.deadWidth == p.dead.w && r.deadHeight == p.dead.h;
}

}  // namespace testing_support
