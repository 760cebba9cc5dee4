#include <gtest/gtest.h>

#include <cmath>

#include "world/FSSineTable.h"
#include "world/FSVectorMath.h"
#include "world/FSWorldPosition.h"

namespace {

FSFixed F(double v) {
    return DoubleToFixed(v);
}

constexpr float kPi = 3.14159265f;
const float kAtThreshold = 1e-6f;                      // 9.99999997e-7 widened: dropped
const float kJustAbove = std::nextafter(1e-6f, 1.0f);  // kept
const float kBelow = 5e-7f;

void ExpectNear(const FSVector& v, float x, float y, float z, float tolerance = 1e-5f) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

TEST(NearZeroRule, KeepsOnlyMagnitudesStrictlyAboveOneMillionth) {
    EXPECT_EQ(KeepAboveNearZero(kAtThreshold), 0.0f);
    EXPECT_EQ(KeepAboveNearZero(-kAtThreshold), 0.0f);
    EXPECT_EQ(KeepAboveNearZero(kJustAbove), kJustAbove);
    EXPECT_EQ(KeepAboveNearZero(-kJustAbove), -kJustAbove);
    // Narrowing compares in double: 1e-6 as a double lies above 1e-6f widened.
    EXPECT_EQ(NarrowNearZero(1e-6), 1e-6f);
    EXPECT_EQ(NarrowNearZero(9.999999974752427e-7), 0.0f);
    EXPECT_EQ(NarrowNearZero(-3e-7), 0.0f);
}

TEST(NearZeroRule, AppliesToEveryVectorOperationComponentByComponent) {
    const FSVector built(kAtThreshold, kJustAbove, -kBelow);
    EXPECT_EQ(built.x, 0.0f);
    EXPECT_EQ(built.y, kJustAbove);
    EXPECT_EQ(built.z, 0.0f);
    EXPECT_EQ(FSVector::Raw(kBelow, 0, 0).x, kBelow);  // raw data is not filtered

    const FSVector a = FSVector::Raw(1.0f, 2e-6f, 3.0f);
    const FSVector b = FSVector::Raw(1.0f, 1.5e-6f, -3.0f);
    EXPECT_EQ((a - b).x, 0.0f);
    EXPECT_EQ((a - b).y, 0.0f);  // 5e-7
    EXPECT_EQ((a + b).z, 0.0f);
    EXPECT_FLOAT_EQ((a + b).y, 2e-6f + 1.5e-6f);
    EXPECT_EQ((-FSVector::Raw(kBelow, 1, 1)).x, 0.0f);
    EXPECT_EQ((FSVector::Raw(1e-3f, 1, 1) * 5e-4f).x, 0.0f);
    EXPECT_EQ((FSVector::Raw(1e-3f, 1, 1) / 1e4f).x, 0.0f);
    EXPECT_EQ((2.0f * FSVector::Raw(1, 1, 1)).z, 2.0f);
    // Cross: (1e-3, 0, 0) × (0, 5e-4, 0) = (0, 0, 5e-7) → dropped.
    EXPECT_TRUE(Cross(FSVector::Raw(1e-3f, 0, 0), FSVector::Raw(0, 5e-4f, 0)).IsZero());
    EXPECT_FALSE(Cross(FSVector::Raw(1e-3f, 0, 0), FSVector::Raw(0, 2e-3f, 0)).IsZero());
    EXPECT_EQ(Dot(FSVector::Raw(1e-3f, 0, 0), FSVector::Raw(5e-4f, 0, 0)), 0.0f);
    EXPECT_FLOAT_EQ(Dot(FSVector::Raw(2e-3f, 0, 0), FSVector::Raw(1e-3f, 0, 0)), 2e-6f);
    EXPECT_EQ(Length(FSVector::Raw(5e-7f, 0, 0)), 0.0f);
    EXPECT_FLOAT_EQ(Length(FSVector::Raw(3, 0, 4)), 5.0f);
    FSVector c = FSVector::Raw(1, 1, 1);
    c += FSVector::Raw(kBelow - 1.0f, 0, 0);
    EXPECT_EQ(c.x, 0.0f);
}

TEST(Quaternion, ProductsRotateInTheStatedOrder) {
    const FSQuaternion yaw = FromAxisAngle(FSVector(0, 1, 0), kPi / 2);   // x → −z
    const FSQuaternion roll = FromAxisAngle(FSVector(0, 0, 1), kPi / 2);  // x → y
    const FSVector x(1, 0, 0);
    ExpectNear(Rotate(yaw, x), 0, 0, -1);
    ExpectNear(Rotate(roll, x), 0, 1, 0);
    // (a ⊗ b) turns by b first: roll takes x to y, then yaw leaves y alone.
    ExpectNear(Rotate(yaw * roll, x), 0, 1, 0);
    // Yaw first takes x to −z, then roll leaves z alone.
    ExpectNear(Rotate(roll * yaw, x), 0, 0, -1);
    const FSQuaternion identity = yaw * Conjugate(yaw);
    EXPECT_NEAR(identity.w, 1.0f, 1e-6f);
    EXPECT_NEAR(identity.y, 0.0f, 1e-6f);
    EXPECT_EQ(FromAxisAngle(FSVector(), 1.0f), FSQuaternion::Identity());
    // An axis of any length gives a unit quaternion.
    const FSQuaternion q = FromAxisAngle(FSVector(0, 0, 7), 1.0f);
    EXPECT_NEAR(q.w * q.w + q.z * q.z, 1.0f, 1e-6f);
    // The fast form matches the library form.
    SineTable sine;
    for (float angle : {0.01f, 0.5f, 1.7f, -2.9f, 6.0f}) {
        const FSQuaternion slow = FromAxisAngle(FSVector(1, 2, 3), angle);
        const FSQuaternion fast = FromAxisAngle(FSVector(1, 2, 3), angle, sine);
        EXPECT_NEAR(fast.w, slow.w, 1e-5f) << angle;
        EXPECT_NEAR(fast.x, slow.x, 1e-5f) << angle;
        EXPECT_NEAR(fast.z, slow.z, 1e-5f) << angle;
    }
}

TEST(Quaternion, NormaliseAndConjugateLeaveZeroAlone) {
    EXPECT_TRUE(Normalise(FSVector()).IsZero());
    ExpectNear(Normalise(FSVector(0, 3, -4)), 0, 0.6f, -0.8f);
    const FSQuaternion q = Normalise(FSQuaternion{2, 0, 0, 2});
    EXPECT_NEAR(q.w, std::sqrt(0.5f), 1e-6f);
    EXPECT_NEAR(q.z, std::sqrt(0.5f), 1e-6f);
    EXPECT_EQ(Normalise(FSQuaternion{0, 0, 0, 0}), FSQuaternion::Identity());
    EXPECT_EQ(Conjugate(FSQuaternion{1, 2, 3, 4}), (FSQuaternion{1, -2, -3, -4}));
}

TEST(Quaternion, BodyAndWorldConversionsKeepTheInputLengthAndMatchTheRowMatrix) {
    // A quarter turn about the vertical: the body's y axis stays, its x axis goes to −z.
    const FSQuaternion heading = FromAxisAngle(FSVector(0, 1, 0), kPi / 2);
    ExpectNear(BodyToWorld(heading, FSVector(5, 0, 0)), 0, 0, -5, 1e-4f);
    ExpectNear(WorldToBody(heading, FSVector(0, 0, -5)), 5, 0, 0, 1e-4f);
    // A slightly long quaternion would stretch the vector; the rescale undoes that.
    const FSQuaternion longer{heading.w * 1.1f, heading.x * 1.1f, heading.y * 1.1f, heading.z * 1.1f};
    EXPECT_NEAR(Length(BodyToWorld(longer, FSVector(3, 4, 0))), 5.0f, 1e-4f);
    EXPECT_TRUE(BodyToWorld(heading, FSVector()).IsZero());
    // Round trip.
    const FSQuaternion q = Normalise(FSQuaternion{0.3f, -0.5f, 0.7f, 0.2f});
    ExpectNear(WorldToBody(q, BodyToWorld(q, FSVector(1, -2, 3))), 1, -2, 3, 1e-4f);
    // The row matrix: column 1 is the image of y, column 3 the translation.
    const FSRowMatrix m = ToRowMatrix(q, {FixedFromInt(1), FixedFromInt(2), FixedFromInt(3)});
    const FSVector v = Rotate(q, FSVector(0, 1, 0));
    ExpectNear(FSVector::Raw(FixedToFloat(m.m[1]), FixedToFloat(m.m[5]), FixedToFloat(m.m[9])), v.x, v.y, v.z,
               1e-4f);
    EXPECT_EQ(m.m[3], FixedFromInt(1));
    EXPECT_EQ(m.m[7], FixedFromInt(2));
    EXPECT_EQ(m.m[11], FixedFromInt(3));
}

TEST(Quaternion, DrawingAxisAngleFollowsTheConventions) {
    // The identity (and anything with a vector part of 0.001 or less) draws as 0° about x.
    FSAxisAngle a = ToDrawingAxisAngle(FSQuaternion::Identity());
    EXPECT_EQ(a.degrees, 0.0f);
    EXPECT_EQ(a.axis, FSVector(1, 0, 0));
    a = ToDrawingAxisAngle(FSQuaternion{0.9999995f, 0.0009f, 0.0f, 0.0f});
    EXPECT_EQ(a.degrees, 0.0f);

    a = ToDrawingAxisAngle(FromAxisAngle(FSVector(0, 1, 0), kPi / 2));
    EXPECT_NEAR(a.degrees, 90.0f, 1e-3f);
    EXPECT_EQ(a.axis, FSVector(0, 1, 0));
    // A turn about −y becomes the complementary turn about +y.
    a = ToDrawingAxisAngle(FromAxisAngle(FSVector(0, -1, 0), kPi / 2));
    EXPECT_NEAR(a.degrees, 270.0f, 1e-3f);
    EXPECT_EQ(a.axis, FSVector(0, 1, 0));
    a = ToDrawingAxisAngle(FromAxisAngle(FSVector(0, 0, -2), kPi / 3));
    EXPECT_NEAR(a.degrees, 300.0f, 1e-3f);
    EXPECT_EQ(a.axis, FSVector(0, 0, 1));
    // A general axis keeps its direction, whatever its signs.
    a = ToDrawingAxisAngle(FromAxisAngle(FSVector(-1, 1, 0), kPi / 2));
    EXPECT_NEAR(a.degrees, 90.0f, 1e-3f);
    EXPECT_NEAR(a.axis.x, -std::sqrt(0.5f), 1e-5f);
    // A w a hair above 1 (rounding) does not give NaN.
    a = ToDrawingAxisAngle(FSQuaternion{1.0000001f, 0.0f, 0.01f, 0.0f});
    EXPECT_FALSE(std::isnan(a.degrees));
}

TEST(Quaternion, LookAlongTurnsTheNoseOntoTheDirection) {
    const FSVector up(0, 1, 0);
    for (const FSVector& d : {FSVector(1, 0, 0), FSVector(0, 0, -3), FSVector(1, 1, 1), FSVector(0, -1, 0)}) {
        const FSQuaternion q = LookAlongQuaternion(d);
        const FSVector n = Normalise(d);
        ExpectNear(Rotate(q, up), n.x, n.y, n.z, 1e-5f);
    }
    EXPECT_EQ(LookAlongQuaternion(FSVector()), FSQuaternion::Identity());
    // With a second direction the body z axis leans toward it.
    const FSQuaternion q = LookAlongQuaternion(FSVector(1, 0, 0), FSVector(0.3f, 1, 0));
    ExpectNear(Rotate(q, up), 1, 0, 0, 1e-5f);
    ExpectNear(Rotate(q, FSVector(0, 0, 1)), 0, 1, 0, 1e-5f);
    ExpectNear(Rotate(q, FSVector(1, 0, 0)), 0, 0, 1, 1e-5f);  // right-handed: x = y × z
    // A second direction along the first falls back to the shortest arc.
    const FSQuaternion same = LookAlongQuaternion(FSVector(0, 0, 1), FSVector(0, 0, 2));
    ExpectNear(Rotate(same, up), 0, 0, 1, 1e-5f);
}

TEST(SineTable, InterpolatesSineAndCosineForAnyAngle) {
    SineTable table;
    EXPECT_EQ(table.Value(0), 0.0f);
    EXPECT_FLOAT_EQ(table.Value(512), 1.0f);
    EXPECT_FLOAT_EQ(table.Slope(2047), table.Value(0) - table.Value(2047));
    // Positive angles interpolate between neighbouring samples. Negative ones truncate
    // toward zero, so their fraction runs back from the sample above with that sample's
    // slope: still within 1e-5.
    for (float a = -20.0f; a < 20.0f; a += 0.0137f) {
        const float tolerance = a >= 0.0f ? 2.5e-6f : 1e-5f;
        EXPECT_NEAR(table.Sin(a), std::sin(a), tolerance) << a;
        EXPECT_NEAR(table.Cos(a), std::cos(a), tolerance) << a;
    }
    // The index wraps with AND 2047: one whole turn later, the same value.
    EXPECT_NEAR(table.Sin(0.3f + 2.0f * kPi), table.Sin(0.3f), 1e-4f);
    // Angles beyond the int range do not break the lookup.
    EXPECT_LE(std::fabs(table.Sin(1.0e12f)), 1.0f);
    EXPECT_EQ(table.Sin(std::nanf("")), 0.0f);
}

TEST(WorldCells, WrapsAtThirtyButNotAtMinusThirtyAndOneCellAtATime) {
    const struct {
        FSFixedVector p;
        FSCell cell;
        FSFixedVector wrapped;
        FSCell to;
    } cases[] = {
        {{F(30), F(5), 0}, {3, 1}, {F(-30), F(5), 0}, {0, 1}},  // height is never wrapped
        {{F(-30), 0, F(-30)}, {0, 0}, {F(-30), 0, F(-30)}, {0, 0}},
        {{F(-30) - 1, 0, F(29.5)}, {0, 3}, {F(30) - 1, 0, F(29.5)}, {3, 3}},
        {{0, 0, F(45)}, {2, 3}, {0, 0, F(-15)}, {2, 0}},
        {{F(100), 0, F(-95)}, {1, 1}, {F(40), 0, F(-35)}, {2, 0}},
    };
    for (const auto& c : cases) {
        FSFixedVector p = c.p;
        FSCell cell = c.cell;
        WrapIntoCell(p, cell);
        EXPECT_EQ(cell, c.to) << c.p.x << " " << c.p.z;
        EXPECT_EQ(p, c.wrapped) << c.p.x << " " << c.p.z;
    }
    EXPECT_EQ(WrapCellIndex(-1), 3);
    EXPECT_EQ(WrapCellIndex(5), 1);
}

TEST(WorldCells, DifferencesTakeTheShortWayAcrossTheSeam) {
    // Column 0 at x = −29 and column 3 at x = 29 are 2 km apart.
    EXPECT_EQ(WrappedAxisDifference(F(-29.0), 0, F(29.0), 3), F(2.0));
    EXPECT_EQ(WrappedAxisDifference(F(29.0), 3, F(-29.0), 0), F(-2.0));
    // Within one cell and between neighbours the plain difference stands.
    EXPECT_EQ(WrappedAxisDifference(F(10.0), 1, F(-10.0), 1), F(20.0));
    EXPECT_EQ(WrappedAxisDifference(F(-20.0), 2, F(20.0), 1), F(20.0));
    // Exactly half way round either answer is as short; the plain one is kept.
    EXPECT_EQ(WrappedAxisDifference(0, 2, 0, 0), F(120.0));

    const FSFixedVector d = WrappedDifference({F(-29.0), F(7.0), F(25.0)}, FSCell{0, 3},
                                              {F(29.0), F(2.0), F(-25.0)}, FSCell{3, 0});
    EXPECT_EQ(d.x, F(2.0));
    EXPECT_EQ(d.y, F(5.0));    // plain
    EXPECT_EQ(d.z, F(-10.0));  // rows 3 and 0 meet across the seam too
}

}  // namespace
