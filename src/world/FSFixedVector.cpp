#include "world/FSFixedVector.h"

FSFixed Dot(const FSFixedVector& a, const FSFixedVector& b) {
    const int64_t sum =
        static_cast<int64_t>(a.x) * b.x + static_cast<int64_t>(a.y) * b.y + static_cast<int64_t>(a.z) * b.z;
    return static_cast<FSFixed>(sum >> 16);
}

FSFixedVector Cross(const FSFixedVector& a, const FSFixedVector& b) {
    return {FixedMul(a.y, b.z) - FixedMul(a.z, b.y), FixedMul(a.z, b.x) - FixedMul(a.x, b.z),
            FixedMul(a.x, b.y) - FixedMul(a.y, b.x)};
}

FSFixed Length(const FSFixedVector& v) {
    const uint64_t squares = static_cast<uint64_t>(static_cast<int64_t>(v.x) * v.x) +
                             static_cast<uint64_t>(static_cast<int64_t>(v.y) * v.y) +
                             static_cast<uint64_t>(static_cast<int64_t>(v.z) * v.z);
    return FixedSqrtWide(squares);
}

FSFixedVector Normalise(const FSFixedVector& v) {
    if (v.IsZero()) return v;
    // Dividing each component is the exact form of multiplying by the reciprocal, and
    // stays exact for the shortest vectors, whose reciprocal lies beyond the 16.16 range.
    const FSFixed length = Length(v);
    return {FixedDiv(v.x, length), FixedDiv(v.y, length), FixedDiv(v.z, length)};
}
