#pragma once
// Three 16.16 values: positions (km, local to a world cell), directions and scale
// factors on the rendering side. A plain record: the layout is x, y, z.
#include "world/FSFixed.h"

struct FSFixedVector {
    FSFixed x = 0;
    FSFixed y = 0;
    FSFixed z = 0;

    FSFixed& operator[](int axis) { return axis == 0 ? x : axis == 1 ? y : z; }
    FSFixed operator[](int axis) const { return axis == 0 ? x : axis == 1 ? y : z; }
    bool operator==(const FSFixedVector& o) const { return x == o.x && y == o.y && z == o.z; }
    bool operator!=(const FSFixedVector& o) const { return !(*this == o); }
    bool IsZero() const { return x == 0 && y == 0 && z == 0; }
};

inline FSFixedVector operator+(const FSFixedVector& a, const FSFixedVector& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline FSFixedVector operator-(const FSFixedVector& a, const FSFixedVector& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline FSFixedVector operator-(const FSFixedVector& a) {
    return {-a.x, -a.y, -a.z};
}

// Each component times a 16.16 scalar.
inline FSFixedVector Scale(const FSFixedVector& v, FSFixed s) {
    return {FixedMul(v.x, s), FixedMul(v.y, s), FixedMul(v.z, s)};
}
// Component by component (x by x, y by y, z by z).
inline FSFixedVector ScaleEach(const FSFixedVector& v, const FSFixedVector& s) {
    return {FixedMul(v.x, s.x), FixedMul(v.y, s.y), FixedMul(v.z, s.z)};
}

FSFixed Dot(const FSFixedVector& a, const FSFixedVector& b);
FSFixedVector Cross(const FSFixedVector& a, const FSFixedVector& b);
// Length in 16.16, from the exact 64-bit sum of squares.
FSFixed Length(const FSFixedVector& v);
// v scaled to length 1.0; the zero vector stays zero.
FSFixedVector Normalise(const FSFixedVector& v);

// Conversions to and from the float vector of the simulation side live with the float
// library (FSVectorMath.h: ToFixed, ToFloat).
