#pragma once
// Single-precision vectors and quaternions of the simulation side (velocities in km/s,
// forces in kN, body and world directions, orientations).
//
// Near-zero rule: the vector operations below store exactly 0 for any component (or, for
// Dot and Length, any result) whose magnitude is not greater than 1e-6. The test widens
// the single-precision value to double and keeps it only if its magnitude is strictly
// greater than 9.999999974752427e-7 (1e-6f widened), so 1e-6f itself becomes 0. The rule
// applies to: construction from three scalars, +, − (both forms), × and ÷ by a scalar,
// Cross, Dot and Length. Writing a field directly and the quaternion operations do not
// apply it. It keeps denormals and dust out of the arithmetic; the flight model relies on
// it, e.g. a vector of tiny components becomes exactly zero and is then never normalised.
//
// Quaternions are (w, x, y, z) and, as orientations, map body axes to world axes: for an
// aircraft body x is the right wing, y the nose and z up; the world has y up.
#include "world/FSFixedMatrix.h"
#include "world/FSFixedVector.h"

class SineTable;

inline constexpr double kNearZero = 9.999999974752427e-7;

// The rule for a single-precision value, and for narrowing a double result (from atof,
// sqrt, asin, atan2, atan): 0 unless the magnitude is strictly above kNearZero.
float KeepAboveNearZero(float value);
float NarrowNearZero(double value);

struct FSVector {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    FSVector() = default;
    // Applies the near-zero rule to each component.
    FSVector(float x, float y, float z);
    // As constructed from three scalars, but without the rule (exact copies of raw data).
    static FSVector Raw(float x, float y, float z);

    float& operator[](int axis) { return axis == 0 ? x : axis == 1 ? y : z; }
    float operator[](int axis) const { return axis == 0 ? x : axis == 1 ? y : z; }
    bool operator==(const FSVector& o) const { return x == o.x && y == o.y && z == o.z; }
    bool operator!=(const FSVector& o) const { return !(*this == o); }
    bool IsZero() const { return x == 0.0f && y == 0.0f && z == 0.0f; }
};

FSVector operator+(const FSVector& a, const FSVector& b);
FSVector operator-(const FSVector& a, const FSVector& b);
FSVector operator-(const FSVector& a);
FSVector operator*(const FSVector& v, float s);
FSVector operator*(float s, const FSVector& v);
// Plain float division: dividing by 0 gives infinities, as the callers guard against it.
FSVector operator/(const FSVector& v, float s);
FSVector& operator+=(FSVector& a, const FSVector& b);
FSVector& operator-=(FSVector& a, const FSVector& b);

FSVector Cross(const FSVector& a, const FSVector& b);
float Dot(const FSVector& a, const FSVector& b);
// sqrt in double precision of the single-precision sum of squares, narrowed by the rule.
float Length(const FSVector& v);
// v ÷ |v|; a vector of length 0 is returned unchanged.
FSVector Normalise(const FSVector& v);

// 16.16 conversions: fixed = float × 65536 truncated; float = fixed × 1/65536.
FSFixedVector ToFixed(const FSVector& v);
FSVector ToFloat(const FSFixedVector& v);

struct FSQuaternion {
    float w = 1.0f;
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    static FSQuaternion Identity() { return FSQuaternion{}; }
    bool operator==(const FSQuaternion& o) const { return w == o.w && x == o.x && y == o.y && z == o.z; }
    bool operator!=(const FSQuaternion& o) const { return !(*this == o); }
    FSVector Vector() const { return FSVector::Raw(x, y, z); }
};

// Hamilton product: (a ⊗ b) applied to a vector turns it by b first, then by a.
FSQuaternion operator*(const FSQuaternion& a, const FSQuaternion& b);
FSQuaternion Conjugate(const FSQuaternion& q);
// q ÷ |q|; a zero quaternion becomes the identity.
FSQuaternion Normalise(const FSQuaternion& q);
// Rotation by angle (radians, right-handed) about axis (any non-zero length; a zero axis
// gives the identity): w = cos(angle / 2), vector part = unit axis × sin(angle / 2).
FSQuaternion FromAxisAngle(const FSVector& axis, float radians);
// The same with the fast sine and cosine (the flight model's rotation step).
FSQuaternion FromAxisAngle(const FSVector& axis, float radians, const SineTable& sine);

// v turned by the unit quaternion q (q ⊗ v ⊗ q*); the result passes the near-zero rule.
FSVector Rotate(const FSQuaternion& q, const FSVector& v);
// Body-to-world turns v by the orientation, world-to-body by its conjugate; both then
// rescale the result to the length of v (which absorbs a slightly non-unit orientation).
// If the turned vector has length 0 it is returned unchanged.
FSVector BodyToWorld(const FSQuaternion& orientation, const FSVector& v);
FSVector WorldToBody(const FSQuaternion& orientation, const FSVector& v);

// The rotation of q with translation t as a 16.16 row-major matrix (translation in
// elements 3, 7 and 11), for transforming model boxes.
FSRowMatrix ToRowMatrix(const FSQuaternion& q, const FSFixedVector& translation);

// The orientation as the graphics library's rotation: angle = 2·acos(w) in degrees (w
// clamped to [−1, 1]) and axis = (x, y, z) normalised. When |(x, y, z)| is 0.001 or less
// the angle is 0 and the axis (1, 0, 0). An axis lying on a coordinate axis with a
// negative component (two components exactly 0) is flipped and the angle becomes
// 360 − angle, so that such axes always point the positive way.
struct FSAxisAngle {
    float degrees = 0.0f;
    FSVector axis = FSVector::Raw(1.0f, 0.0f, 0.0f);
};
FSAxisAngle ToDrawingAxisAngle(const FSQuaternion& q);

// The orientation that turns (0, 1, 0) onto direction by the shortest arc. A direction
// pointing straight down (0, −1, 0) turns half a turn about the x axis. A zero direction
// gives the identity.
FSQuaternion LookAlongQuaternion(const FSVector& direction);
// The orientation that turns (0, 1, 0) onto direction and (0, 0, 1) toward second (the
// part of second across direction). When second has no such part, as the form above.
FSQuaternion LookAlongQuaternion(const FSVector& direction, const FSVector& second);
