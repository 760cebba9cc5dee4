#pragma once
// MPEG-4 part 2 encoding of a clip's frames with libxvidcore: one thread, no B-frames, a
// fixed quantiser and fixed search settings, so the same pictures always give the same bytes.
#include <cstdint>
#include <vector>

#include "clips/AviWriter.h"
#include "common/Canvas.h"

// RGB to the Y, U, V levels the game's player turns back into the same colours
// (its conversion has no black offset: luma 0 is black).
void RgbToYuv(const Rgba& c, int& y, int& u, int& v);

// Encodes the frames (all of one size, even width and height) at quantiser quant
// (2..31) and frames per second into clip; false when the encoder fails.
bool EncodeClip(const std::vector<Canvas>& frames, int quant, int framesPerSecond, AviClip& clip);
