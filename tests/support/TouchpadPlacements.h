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

}  // namespace testing_support
