#include "world/FSSineTable.h"

#include <cmath>

SineTable::SineTable() {
    const double step = 2.0 * 3.14159265358979323846 / kSize;
    for (int i = 0; i < kSize; ++i)
        value_[i] = static_cast<float>(std::sin(i * step));
    for (int i = 0; i + 1 < kSize; ++i)
        slope_[i] = value_[i + 1] - value_[i];
    slope_[kSize - 1] = value_[0] - value_[kSize - 1];
}

float SineTable::Lookup(float radians, int offset) const {
    float t = radians * kIndexPerRadian;
    // Keep the truncation inside the int range; whole turns do not change the result.
    if (!(std::fabs(t) < 1073741824.0f))
        t = std::isfinite(t) ? std::fmod(t, static_cast<float>(kSize)) : 0.0f;
    const int i = static_cast<int>(t);
    const float fraction = t - static_cast<float>(i);
    const int index = (i + offset) & (kSize - 1);
    return value_[index] + fraction * slope_[index];
}

float SineTable::Sin(float radians) const {
    return Lookup(radians, 0);
}

float SineTable::Cos(float radians) const {
    return Lookup(radians, kSize / 4);
}
