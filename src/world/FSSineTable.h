#pragma once
// Fast sine and cosine by table lookup with linear interpolation: 2048 samples of
// sin(i × 2π / 2048) and their first differences. Built once, owned by the application
// context; the flight model, the propeller, the flame cone and the sky model keep a
// reference to it. Accurate to about 1.2e-6 for positive angles (the interpolation error
// of 2048 steps); negative angles truncate toward zero, so their fraction reaches back
// from the sample above with that sample's slope, which costs up to about 1e-5.
#include <array>

class SineTable {
public:
    static constexpr int kSize = 2048;
    // Samples per radian: kSize / 2π.
    static constexpr float kIndexPerRadian = 325.9493f;

    SineTable();

    // Angles in radians, any sign and size. The index is angle × 325.9493 truncated toward
    // zero and wrapped with AND 2047; the fraction is the rest (negative for negative
    // angles). Cosine reads a quarter turn (512 samples) further on.
    float Sin(float radians) const;
    float Cos(float radians) const;

    float Value(int index) const { return value_[index & (kSize - 1)]; }
    float Slope(int index) const { return slope_[index & (kSize - 1)]; }

private:
    float Lookup(float radians, int offset) const;

    std::array<float, kSize> value_{};
    std::array<float, kSize> slope_{};
};
