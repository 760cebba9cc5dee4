#pragma once
// The window icon compiled into the program: the game's icon at kWindowIconSide pixels
// square, 8-bit RGBA, rows top first.
extern const int kWindowIconSide;
extern const unsigned char kWindowIconPixels[];
