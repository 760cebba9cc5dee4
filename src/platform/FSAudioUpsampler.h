#pragma once
// The game's sounds are 16-bit mono at 22 050 samples a second, and the mixer plays 44 100. Doubling the rate
// is a fixed filter: every second output sample is an input sample, and the ones between come from a
// windowed-sinc half-band filter over the eight neighbours on each side. It does in a few milliseconds what
// SDL's general resampler took 70 ms for at every start (and again for the engine loop of every flight).
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

// Frames of 16-bit little-endian samples (1 or 2 channels, interleaved) at twice the rate:
// twice as many frames of as many channels; empty for other channel counts.
std::vector<int16_t> UpsampleTwice(const uint8_t* data, size_t frames, int channels);

}  // namespace platform
