#include "world/FSFixed.h"

#include <cmath>

namespace {

// Reciprocals of 2.0, 2.25, 2.5, ..., 3.75 in 16.16.
constexpr int64_t kReciprocalTable[8] = {0x8000, 0x71C7, 0x6666, 0x5D17, 0x5555, 0x4EC4, 0x4924, 0x4444};

FSFixed Saturate(int64_t value) {
    if (value > kFixedMax) return kFixedMax;
    if (value < -static_cast<int64_t>(kFixedMax)) return -kFixedMax;
    return static_cast<FSFixed>(value);
}

// Position of the highest one bit; value must not be 0.
int LeadingBit(uint64_t value) {
    return 63 - __builtin_clzll(value);
}

}  // namespace

FSFixed FixedDiv(FSFixed a, FSFixed b) {
    if (b == 0) return a > 0 ? kFixedMax : a < 0 ? -kFixedMax : 0;
    return Saturate((static_cast<int64_t>(a) * 65536) / b);
}

FSFixed FixedReciprocal(FSFixed x) {
    if (x == 0) return kFixedMax;
    const int64_t magnitude = x < 0 ? -static_cast<int64_t>(x) : static_cast<int64_t>(x);
    // |x| = 1.bbb... × 2^p in raw units; 1/|x| ≈ table[bbb] × 2^(17 − p) in 16.16, since
    // the table holds 1 / (2 × mantissa).
    const int p = LeadingBit(static_cast<uint64_t>(magnitude));
    const int index =
        p >= 3 ? static_cast<int>((magnitude >> (p - 3)) & 7) : static_cast<int>((magnitude << (3 - p)) & 7);
    int64_t r = p <= 17 ? kReciprocalTable[index] << (17 - p) : kReciprocalTable[index] >> (p - 17);
    // Below 4/65536 the reciprocal lies beyond the 16.16 range.
    if (r > kFixedMax) return x < 0 ? -kFixedMax : kFixedMax;
    for (int step = 0; step < 2; ++step) {
        const int64_t product = (magnitude * r) >> 16;
        r = (r * (2 * static_cast<int64_t>(kFixedOne) - product)) >> 16;
    }
    const FSFixed result = Saturate(r);
    return x < 0 ? -result : result;
}

FSFixed FixedSqrt(FSFixed x) {
    if (x <= 0) return 0;
    // Start at 2^(p/2) in raw units scaled to 16.16: the root of 2^p raw is 2^((p + 16) / 2).
    const int p = LeadingBit(static_cast<uint64_t>(x));
    int64_t y = int64_t{1} << ((p + 16 + 1) / 2);
    for (int step = 0; step < 6; ++step) {
        const int64_t quotient = (static_cast<int64_t>(x) << 16) / y;
        y = (y + quotient) / 2;
        if (y <= 0) return 0;
    }
    return Saturate(y);
}

FSFixed FixedSqrtWide(uint64_t squares) {
    if (squares == 0) return 0;
    // Integer square root of a 32.32 number is the 16.16 root.
    uint64_t root = static_cast<uint64_t>(std::sqrt(static_cast<double>(squares)));
    // Correct the double's rounding to the exact floor.
    while (root > 0 && root * root > squares)
        --root;
    while ((root + 1) * (root + 1) <= squares)
        ++root;
    return Saturate(static_cast<int64_t>(root));
}

FSFixed DoubleToFixed(double value) {
    if (std::isnan(value)) return 0;
    const double scaled = value * 65536.0;
    if (scaled >= 2147483647.0) return kFixedMax;
    if (scaled <= -2147483648.0) return kFixedMin;
    return static_cast<FSFixed>(scaled);
}

FSFixed FloatToFixed(float value) {
    if (std::isnan(value)) return 0;
    const float scaled = value * 65536.0f;
    if (scaled >= 2147483647.0f) return kFixedMax;
    if (scaled <= -2147483648.0f) return kFixedMin;
    return static_cast<FSFixed>(scaled);
}
