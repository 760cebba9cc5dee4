#pragma once
// The stylus pad of a flight, made ready by the game controller while it builds the flight.
class CFSApplicationContext;

// With "touchscreen_scheme" not 0: makes the context's touch pad (or keeps the one it has),
// gives it its three placements, one per flight orientation, and loads its picture from
// "data\huds.zip". True when the pad can be drawn; false when the picture is missing or
// bad (the pad then still steers, it is only not shown). With the scheme 0: releases the
// pad (the context's pointer becomes null) and returns false.
bool PrepareTouchpad(CFSApplicationContext& context);
