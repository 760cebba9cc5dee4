#pragma once
// Painting helpers shared by the scenery generators (clouds, trees, runway, building
// atlases): a seeded random sequence, smooth value noise that can wrap, colour shading,
// and the clean-up that keeps alpha edges free of dark fringes. Everything is
// deterministic: the same seed always paints the same picture.
#include <cstdint>
#include <vector>

#include "common/Canvas.h"

namespace scenery {

// A small deterministic generator (SplitMix64), so pictures do not depend on the C
// library's rand().
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t Next();
    // Uniform in [0, 1).
    float Unit() { return static_cast<float>(Next() >> 40) / 16777216.0f; }
    // Uniform in [low, high).
    float Range(float low, float high) { return low + (high - low) * Unit(); }

private:
    uint64_t state_;
};

// Value noise on an integer lattice with smooth interpolation; lattice values in [0, 1].
// A positive period wraps the noise in x (and y) after that many lattice cells, so a
// picture built from it tiles seamlessly.
float ValueNoise(float x, float y, uint32_t seed, int periodX = 0, int periodY = 0);
// Sum of octaves of ValueNoise, each twice the frequency and half the weight of the one
// before; result in [0, 1]. The periods double with the frequency, so wrapping holds.
float FractalNoise(float x, float y, int octaves, uint32_t seed, int periodX = 0, int periodY = 0);

inline float Smoothstep(float edge0, float edge1, float x) {
    float t = (x - edge0) / (edge1 - edge0);
    t = t < 0.0f ? 0.0f : (t > 1.0f ? 1.0f : t);
    return t * t * (3.0f - 2.0f * t);
}

// The colour with red, green and blue multiplied by factor (clamped to 0..255); alpha kept.
Rgba Shade(Rgba colour, float factor);

// Fills the colour of every fully transparent texel from its nearest coloured neighbours,
// growing outwards for the given number of passes (and the picture's average colour
// beyond that). Alpha is left as it is. Filtering a texture blends the colours of
// transparent texels into its edges; without this they are black and leave dark fringes.
void BleedColour(Canvas& canvas, int passes);

// The colour of a rectangle's border texels copied outwards by margin texels on every side
// (clipped to the canvas), so that filtering near a region's edge in an atlas sees the
// region's own colour rather than its neighbour's.
void ExtendBorder(Canvas& canvas, int x, int y, int w, int h, int margin);

}  // namespace scenery
