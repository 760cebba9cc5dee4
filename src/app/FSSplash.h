#pragma once
// The splash picture compiled into the executable: a 240 x 320 BMP, 16 bits per pixel
// with 5-6-5 bit fields, its rows stored top row first in the device's layout.
extern const unsigned char kSplashBitmap[];
extern const unsigned int kSplashBitmapSize;
