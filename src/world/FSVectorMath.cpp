#include "world/FSVectorMath.h"

#include <algorithm>
#include <cmath>

#include "world/FSSineTable.h"

namespace {

constexpr double kRadiansToDegrees = 57.29577951308232;

// Plain single-precision cross product (no rule), for intermediate steps.
void CrossRaw(const float a[3], const float b[3], float out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

FSQuaternion FromRotationColumns(const FSVector& c0, const FSVector& c1, const FSVector& c2) {
    // The rotation whose matrix has the columns c0, c1, c2 (images of the x, y, z axes).
    const float m00 = c0.x, m10 = c0.y, m20 = c0.z;
    const float m01 = c1.x, m11 = c1.y, m21 = c1.z;
    const float m02 = c2.x, m12 = c2.y, m22 = c2.z;
    const float trace = m00 + m11 + m22;
    FSQuaternion q;
    if (trace > 0.0f) {
        const float s = std::sqrt(trace + 1.0f) * 2.0f;
        q.w = 0.25f * s;
        q.x = (m21 - m12) / s;
        q.y = (m02 - m20) / s;
        q.z = (m10 - m01) / s;
    } else if (m00 > m11 && m00 > m22) {
        const float s = std::sqrt(1.0f + m00 - m11 - m22) * 2.0f;
        q.w = (m21 - m12) / s;
        q.x = 0.25f * s;
        q.y = (m01 + m10) / s;
        q.z = (m02 + m20) / s;
    } else if (m11 > m22) {
        const float s = std::sqrt(1.0f + m11 - m00 - m22) * 2.0f;
        q.w = (m02 - m20) / s;
        q.x = (m01 + m10) / s;
        q.y = 0.25f * s;
        q.z = (m12 + m21) / s;
    } else {
        const float s = std::sqrt(1.0f + m22 - m00 - m11) * 2.0f;
        q.w = (m10 - m01) / s;
        q.x = (m02 + m20) / s;
        q.y = (m12 + m21) / s;
        q.z = 0.25f * s;
    }
    return Normalise(q);
}

}  // namespace

float KeepAboveNearZero(float value) {
    return std::fabs(static_cast<double>(value)) > kNearZero ? value : 0.0f;
}

float NarrowNearZero(double value) {
    return std::fabs(value) > kNearZero ? static_cast<float>(value) : 0.0f;
}

FSVector::FSVector(float x_, float y_, float z_)
    : x(KeepAboveNearZero(x_)), y(KeepAboveNearZero(y_)), z(KeepAboveNearZero(z_)) {}

FSVector FSVector::Raw(float x, float y, float z) {
    FSVector v;
    v.x = x;
    v.y = y;
    v.z = z;
    return v;
}

FSVector operator+(const FSVector& a, const FSVector& b) {
    return FSVector(a.x + b.x, a.y + b.y, a.z + b.z);
}
FSVector operator-(const FSVector& a, const FSVector& b) {
    return FSVector(a.x - b.x, a.y - b.y, a.z - b.z);
}
FSVector operator-(const FSVector& a) {
    return FSVector(-a.x, -a.y, -a.z);
}
FSVector operator*(const FSVector& v, float s) {
    return FSVector(v.x * s, v.y * s, v.z * s);
}
FSVector operator*(float s, const FSVector& v) {
    return v * s;
}
FSVector operator/(const FSVector& v, float s) {
    return FSVector(v.x / s, v.y / s, v.z / s);
}

FSVector& operator+=(FSVector& a, const FSVector& b) {
    return a = a + b;
}
FSVector& operator-=(FSVector& a, const FSVector& b) {
    return a = a - b;
}

FSVector Cross(const FSVector& a, const FSVector& b) {
    return FSVector(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

float Dot(const FSVector& a, const FSVector& b) {
    return KeepAboveNearZero(a.x * b.x + a.y * b.y + a.z * b.z);
}

float Length(const FSVector& v) {
    const float squares = v.x * v.x + v.y * v.y + v.z * v.z;
    return NarrowNearZero(std::sqrt(static_cast<double>(squares)));
}

FSVector Normalise(const FSVector& v) {
    const float length = Length(v);
    return length == 0.0f ? v : v / length;
}

FSFixedVector ToFixed(const FSVector& v) {
    return {FloatToFixed(v.x), FloatToFixed(v.y), FloatToFixed(v.z)};
}

FSVector ToFloat(const FSFixedVector& v) {
    return FSVector(FixedToFloat(v.x), FixedToFloat(v.y), FixedToFloat(v.z));
}

FSQuaternion operator*(const FSQuaternion& a, const FSQuaternion& b) {
    FSQuaternion r;
    r.w = a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z;
    r.x = a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y;
    r.y = a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x;
    r.z = a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w;
    return r;
}

FSQuaternion Conjugate(const FSQuaternion& q) {
    return FSQuaternion{q.w, -q.x, -q.y, -q.z};
}

FSQuaternion Normalise(const FSQuaternion& q) {
    const double length = std::sqrt(static_cast<double>(q.w) * q.w + static_cast<double>(q.x) * q.x +
                                    static_cast<double>(q.y) * q.y + static_cast<double>(q.z) * q.z);
    if (length == 0.0) return FSQuaternion::Identity();
    return FSQuaternion{static_cast<float>(q.w / length), static_cast<float>(q.x / length),
                        static_cast<float>(q.y / length), static_cast<float>(q.z / length)};
}

FSQuaternion FromAxisAngle(const FSVector& axis, float radians) {
    const float length = std::sqrt(axis.x * axis.x + axis.y * axis.y + axis.z * axis.z);
    if (length == 0.0f) return FSQuaternion::Identity();
    const float s = std::sin(radians * 0.5f) / length;
    return FSQuaternion{std::cos(radians * 0.5f), axis.x * s, axis.y * s, axis.z * s};
}

FSQuaternion FromAxisAngle(const FSVector& axis, float radians, const SineTable& sine) {
    const float length = std::sqrt(axis.x * axis.x + axis.y * axis.y + axis.z * axis.z);
    if (length == 0.0f) return FSQuaternion::Identity();
    const float s = sine.Sin(radians * 0.5f) / length;
    return FSQuaternion{sine.Cos(radians * 0.5f), axis.x * s, axis.y * s, axis.z * s};
}

FSVector Rotate(const FSQuaternion& q, const FSVector& v) {
    // v' = v + w·t + q⃗ × t with t = 2 (q⃗ × v): q ⊗ v ⊗ q* for a unit q.
    const float u[3] = {q.x, q.y, q.z};
    const float p[3] = {v.x, v.y, v.z};
    float t[3];
    CrossRaw(u, p, t);
    for (float& c : t)
        c *= 2.0f;
    float ut[3];
    CrossRaw(u, t, ut);
    return FSVector(p[0] + q.w * t[0] + ut[0], p[1] + q.w * t[1] + ut[1], p[2] + q.w * t[2] + ut[2]);
}

namespace {
FSVector Rescaled(const FSVector& turned, const FSVector& original) {
    const float turnedLength = Length(turned);
    if (turnedLength == 0.0f) return turned;
    return turned * (Length(original) / turnedLength);
}
}  // namespace

FSVector BodyToWorld(const FSQuaternion& orientation, const FSVector& v) {
    return Rescaled(Rotate(orientation, v), v);
}

FSVector WorldToBody(const FSQuaternion& orientation, const FSVector& v) {
    return Rescaled(Rotate(Conjugate(orientation), v), v);
}

FSRowMatrix ToRowMatrix(const FSQuaternion& q, const FSFixedVector& translation) {
    const float w = q.w, x = q.x, y = q.y, z = q.z;
    const float rows[3][3] = {
        {1.0f - 2.0f * (y * y + z * z), 2.0f * (x * y - w * z), 2.0f * (x * z + w * y)},
        {2.0f * (x * y + w * z), 1.0f - 2.0f * (x * x + z * z), 2.0f * (y * z - w * x)},
        {2.0f * (x * z - w * y), 2.0f * (y * z + w * x), 1.0f - 2.0f * (x * x + y * y)},
    };
    FSRowMatrix m;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c)
            m.m[r * 4 + c] = FloatToFixed(rows[r][c]);
        m.m[r * 4 + 3] = translation[r];
    }
    m.m[15] = kFixedOne;
    return m;
}

FSAxisAngle ToDrawingAxisAngle(const FSQuaternion& q) {
    FSAxisAngle result;
    const double length = std::sqrt(static_cast<double>(q.x) * q.x + static_cast<double>(q.y) * q.y +
                                    static_cast<double>(q.z) * q.z);
    if (length <= 0.001) return result;
    const double w = std::clamp(static_cast<double>(q.w), -1.0, 1.0);
    double degrees = 2.0 * std::acos(w) * kRadiansToDegrees;
    FSVector axis = FSVector::Raw(static_cast<float>(q.x / length), static_cast<float>(q.y / length),
                                  static_cast<float>(q.z / length));
    const int zeros = (axis.x == 0.0f) + (axis.y == 0.0f) + (axis.z == 0.0f);
    if (zeros == 2 && (axis.x < 0.0f || axis.y < 0.0f || axis.z < 0.0f)) {
        axis = FSVector::Raw(-axis.x + 0.0f, -axis.y + 0.0f, -axis.z + 0.0f);
        degrees = 360.0 - degrees;
    }
    result.degrees = static_cast<float>(degrees);
    result.axis = axis;
    return result;
}

FSQuaternion LookAlongQuaternion(const FSVector& direction) {
    const double length = std::sqrt(static_cast<double>(direction.x) * direction.x +
                                    static_cast<double>(direction.y) * direction.y +
                                    static_cast<double>(direction.z) * direction.z);
    if (length == 0.0) return FSQuaternion::Identity();
    const double dx = direction.x / length, dy = direction.y / length, dz = direction.z / length;
    // Shortest arc from (0, 1, 0) to d: axis (0, 1, 0) × d = (dz, 0, −dx), half-angle form.
    const double w = 1.0 + dy;
    if (w < 1e-7) return FSQuaternion{0.0f, 1.0f, 0.0f, 0.0f};  // straight down: half a turn about x
    FSQuaternion q{static_cast<float>(w), static_cast<float>(dz), 0.0f, static_cast<float>(-dx)};
    return Normalise(q);
}

FSQuaternion LookAlongQuaternion(const FSVector& direction, const FSVector& second) {
    const double length = std::sqrt(static_cast<double>(direction.x) * direction.x +
                                    static_cast<double>(direction.y) * direction.y +
                                    static_cast<double>(direction.z) * direction.z);
    if (length == 0.0) return FSQuaternion::Identity();
    const FSVector y =
        FSVector::Raw(static_cast<float>(direction.x / length), static_cast<float>(direction.y / length),
                      static_cast<float>(direction.z / length));
    // The part of second across y becomes the new z axis.
    const float along = second.x * y.x + second.y * y.y + second.z * y.z;
    FSVector z = FSVector::Raw(second.x - along * y.x, second.y - along * y.y, second.z - along * y.z);
    const float zLength = std::sqrt(z.x * z.x + z.y * z.y + z.z * z.z);
    if (!(zLength > 1e-6f)) return LookAlongQuaternion(direction);
    z = FSVector::Raw(z.x / zLength, z.y / zLength, z.z / zLength);
    // x = y × z completes the right-handed frame.
    const FSVector x = FSVector::Raw(y.y * z.z - y.z * z.y, y.z * z.x - y.x * z.z, y.x * z.y - y.y * z.x);
    return FromRotationColumns(x, y, z);
}
