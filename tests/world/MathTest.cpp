// The numbers of the 3-D side: 16.16 fixed point, boxes, the float vectors and quaternions
// with their near-zero rule, the fast sine, and the wrapped world cells.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <tuple>

#include "world/FSBox.h"
#include "world/FSFixedMatrix.h"
#include "world/FSSineTable.h"
#include "world/FSVectorMath.h"
#include "world/FSWorldPosition.h"
#include "world/WorldTestNodes.h"

using world_test::Box;
using world_test::F;

namespace {

constexpr float kPi = 3.14159265f;

void ExpectNear(const FSVector& v, float x, float y, float z, float tolerance = 1e-5f) {
    EXPECT_TRUE(std::fabs(v.x - x) <= tolerance && std::fabs(v.y - y) <= tolerance &&
                std::fabs(v.z - z) <= tolerance)
        << "(" << v.x << ", " << v.y << ", " << v.z << ") against (" << x << ", " << y << ", " << z << ")";
}

TEST(FixedPoint, ProductsQuotientsAndConversionsUseWideIntermediatesAndSaturate) {
    // 200 × 100 overflows 32 bits before the shift but not after it.
    for (const auto& [a, b, product] :
         {std::tuple{1.5, 2.0, 3.0}, {-1.5, 2.0, -3.0}, {200.0, 100.0, 20000.0}})
        EXPECT_EQ(FixedMul(F(a), F(b)), F(product)) << a << " × " << b;
    const FSFixed max = kFixedMax;
    const std::tuple<FSFixed, FSFixed, FSFixed> quotients[] = {{F(3), F(2), F(1.5)},
                                                               {F(-1), F(4), F(-0.25)},
                                                               {F(20000), F(0.5), F(40000)},
                                                               {F(1), 0, max},
                                                               {F(-1), 0, -max},
                                                               {0, 0, 0},
                                                               {F(-30000), F(0.001), -max}};
    for (const auto& [a, b, quotient] : quotients)
        EXPECT_EQ(FixedDiv(a, b), quotient) << a << " / " << b;
    // Float to fixed truncates toward zero and saturates; NaN gives 0.
    const std::pair<float, FSFixed> conversions[] = {{30.0f, 0x1E0000},    {1.9999999e-5f, 1},
                                                     {-1.9999999e-5f, -1}, {1.0e9f, kFixedMax},
                                                     {-1.0e9f, kFixedMin}, {NAN, 0}};
    for (const auto& [value, fixed] : conversions)
        EXPECT_EQ(FloatToFixed(value), fixed) << value;
    EXPECT_EQ(DoubleToFixed(-1.0e12), kFixedMin);
}

TEST(FixedPoint, ReciprocalAndSquareRootAreAccurateOverTheWholeRange) {
    // Beyond the range: saturated.
    for (const auto& [x, reciprocal] :
         {std::pair{F(2), F(0.5)}, {F(-4), F(-0.25)}, {0, kFixedMax}, {1, kFixedMax}, {-2, -kFixedMax}})
        EXPECT_EQ(FixedReciprocal(x), reciprocal) << x;
    for (double x = 4.0 / 65536.0; x < 32000.0; x *= 1.0137) {
        const double exact = 65536.0 * 65536.0 / F(x);
        if (exact > 2147483647.0) continue;
        ASSERT_NEAR(FixedReciprocal(F(x)), exact, exact * 3e-4 + 2.0) << x;
        ASSERT_EQ(FixedReciprocal(-F(x)), -FixedReciprocal(F(x))) << x;
    }
    for (const auto& [x, root] : {std::pair{0.0, 0.0}, {-4.0, 0.0}, {900.0, 30.0}, {0.25, 0.5}})
        EXPECT_EQ(FixedSqrt(F(x)), F(root)) << x;
    for (double x = 1.0 / 65536.0; x < 32767.0; x *= 1.09)
        ASSERT_NEAR(FixedSqrt(F(x)), std::sqrt(F(x) / 65536.0) * 65536.0, 1.5) << x;
    EXPECT_EQ(FixedSqrtWide(static_cast<uint64_t>(F(3)) * F(3) + static_cast<uint64_t>(F(4)) * F(4)), F(5));
    // Vectors: the exact length, and the shortest one still normalises.
    EXPECT_EQ(Length(FSFixedVector{F(3), 0, F(-4)}), F(5));
    EXPECT_EQ(Normalise(FSFixedVector{1, 0, 0}), (FSFixedVector{kFixedOne, 0, 0}));
    EXPECT_EQ(Normalise(FSFixedVector{}), FSFixedVector{});
    EXPECT_NEAR(Length(Normalise(FSFixedVector{F(20), F(-7), F(3)})), kFixedOne, 7);
}

TEST(FixedBox, EmptyBoxesStayEmptyAndTouchingBoxesOverlap) {
    FSBox box;
    EXPECT_TRUE(box.IsEmpty() && box.LargestExtent() == 0 && box.Grown(F(1)).IsEmpty() &&
                TransformBox(box, FSRowMatrix::Identity()).IsEmpty());
    box.Extend({F(1), F(2), F(3)});
    box.Extend({F(-1), F(5), F(3)});
    EXPECT_EQ(box, Box(-1, 2, 3, 1, 5, 3));
    box.Unite(FSBox::Empty());
    box.Unite(Box(0, 0, 0, 10, 1, 1));
    EXPECT_EQ(box, Box(-1, 0, 0, 10, 5, 3));
    EXPECT_TRUE(Box(0, 2, 0, 1, 1, 1).IsEmpty());  // any min above its max
    const FSBox a = Box(0, 0, 0, 1, 1, 1), touching = Box(1, 0, 0, 2, 1, 1);
    const FSBox apart = FSBox::FromCorners({F(1) + 1, 0, 0}, {F(2), F(1), F(1)});
    EXPECT_TRUE(Overlaps(a, touching) && Overlaps(touching, a) && Overlaps(apart.Grown(1), a));
    EXPECT_FALSE(Overlaps(a, apart) || Overlaps(a, FSBox::Empty()));
    EXPECT_TRUE(Contains(a, a) && Contains(a, Box(0, 0.2, 0, 0.5, 1, 0.7)));
    EXPECT_FALSE(Contains(a, touching) || Contains(a, FSBox::Empty()));
    EXPECT_TRUE(ContainsPoint(a, {F(1), F(1), 0}) && !ContainsPoint(a, {F(1) + 1, 0, 0}));
    // Matrices in the graphics library's column-major layout apply their right operand first.
    FSFixedMatrix translate = FSFixedMatrix::Identity(), scale = FSFixedMatrix::Identity();
    translate.m[12] = F(5);  // x + 5
    scale.At(0, 0) = F(2);   // x × 2
    EXPECT_EQ(TransformPoint(Multiply(translate, scale), {F(1), 0, 0}).x, F(7));
    EXPECT_EQ(TransformPoint(Multiply(scale, translate), {F(1), 0, 0}).x, F(12));
    EXPECT_EQ(NearestCorner(Box(-1, 0, 2, 1, 4, 6), {F(-5), F(3), F(2.5)}),
              (FSFixedVector{F(-1), F(4), F(2)}));  // chosen per axis
}

TEST(NearZeroRule, EveryVectorOperationDropsMagnitudesNotAboveOneMillionth) {
    const float justAbove = std::nextafter(1e-6f, 1.0f), below = 5e-7f;
    EXPECT_TRUE(KeepAboveNearZero(-1e-6f) == 0.0f && KeepAboveNearZero(justAbove) == justAbove);
    EXPECT_EQ(NarrowNearZero(1e-6), 1e-6f);  // compared in double: above 1e-6f widened
    EXPECT_EQ(FSVector(1e-6f, justAbove, -below), FSVector::Raw(0, justAbove, 0));
    EXPECT_EQ(FSVector::Raw(below, 0, 0).x, below);  // raw data is not filtered
    const FSVector a = FSVector::Raw(1.0f, 2e-6f, 3.0f), b = FSVector::Raw(1.0f, 1.5e-6f, -3.0f);
    // Vectors along x of 1e-3 and of 5e-4, one along y of 5e-4, and (1e-3, 1, 1).
    const FSVector x = FSVector::Raw(1e-3f, 0, 0), h = FSVector::Raw(5e-4f, 0, 0),
                   y = FSVector::Raw(0, 5e-4f, 0);
    const FSVector s = FSVector::Raw(1e-3f, 1, 1);
    FSVector c = FSVector::Raw(1, 1, 1);
    c += FSVector::Raw(below - 1.0f, 0, 0);
    // Each result is 5e-7 or less: a − b (x and y), a + b (z), −v, v × s, v / s, s × v,
    // the cross and dot products, the length, and +=.
    const float dropped[] = {(a - b).x,
                             (a - b).y,
                             (a + b).z,
                             (-FSVector::Raw(below, 1, 1)).x,
                             (s * 5e-4f).x,
                             (s / 1e4f).x,
                             (5e-4f * s).x,
                             Length(Cross(x, y)),
                             Dot(x, h),
                             Length(FSVector::Raw(below, 0, 0)),
                             c.x};
    for (size_t k = 0; k < std::size(dropped); ++k)
        EXPECT_EQ(dropped[k], 0.0f) << k;
    EXPECT_FLOAT_EQ((a + b).y, 3.5e-6f);
}

TEST(Quaternion, ProductsTurnInTheStatedOrderAndConversionsKeepTheLength) {
    const FSQuaternion yaw = FromAxisAngle(FSVector(0, 1, 0), kPi / 2);   // x → −z
    const FSQuaternion roll = FromAxisAngle(FSVector(0, 0, 1), kPi / 2);  // x → y
    ExpectNear(Rotate(yaw * roll, FSVector(1, 0, 0)), 0, 1, 0);           // (a ⊗ b) turns by b first
    ExpectNear(Rotate(roll * yaw, FSVector(1, 0, 0)), 0, 0, -1);
    EXPECT_EQ(FromAxisAngle(FSVector(), 1.0f), FSQuaternion::Identity());
    EXPECT_EQ(Normalise(FSQuaternion{0, 0, 0, 0}), FSQuaternion::Identity());
    SineTable sine;
    const FSQuaternion fast = FromAxisAngle(FSVector(1, 2, 3), -2.9f, sine),
                       slow = FromAxisAngle(FSVector(1, 2, 3), -2.9f);
    EXPECT_TRUE(std::fabs(fast.w - slow.w) < 1e-5f && std::fabs(fast.x - slow.x) < 1e-5f);
    ExpectNear(BodyToWorld(yaw, FSVector(5, 0, 0)), 0, 0, -5, 1e-4f);
    ExpectNear(WorldToBody(yaw, FSVector(0, 0, -5)), 5, 0, 0, 1e-4f);
    // A slightly long quaternion would stretch the vector; the rescale undoes that.
    const FSQuaternion longer{yaw.w * 1.1f, yaw.x * 1.1f, yaw.y * 1.1f, yaw.z * 1.1f};
    EXPECT_NEAR(Length(BodyToWorld(longer, FSVector(3, 4, 0))), 5.0f, 1e-4f);
    // The row matrix: column 1 is the image of y, column 3 the translation.
    const FSQuaternion q = Normalise(FSQuaternion{0.3f, -0.5f, 0.7f, 0.2f});
    const FSRowMatrix m = ToRowMatrix(q, {0, 0, F(3)});
    const FSVector y = Rotate(q, FSVector(0, 1, 0));
    ExpectNear(FSVector::Raw(FixedToFloat(m.m[1]), FixedToFloat(m.m[5]), FixedToFloat(m.m[9])), y.x, y.y, y.z,
               1e-4f);
    EXPECT_EQ(m.m[11], F(3));
}

TEST(Quaternion, DrawingAxisAngleAndLookAlongFollowTheConventions) {
    // A vector part of 0.001 or less draws as 0° about x; an axis along a coordinate axis
    // with a negative sign is flipped to the complementary turn; any other keeps its signs.
    const std::tuple<FSQuaternion, float, FSVector> cases[] = {
        {FSQuaternion{0.9999995f, 0.0009f, 0.0f, 0.0f}, 0.0f, FSVector(1, 0, 0)},
        {FromAxisAngle(FSVector(0, 1, 0), kPi / 2), 90.0f, FSVector(0, 1, 0)},
        {FromAxisAngle(FSVector(0, -1, 0), kPi / 2), 270.0f, FSVector(0, 1, 0)},
        {FromAxisAngle(FSVector(0, 0, -2), kPi / 3), 300.0f, FSVector(0, 0, 1)},
        {FromAxisAngle(FSVector(-1, 1, 0), kPi / 2), 90.0f, FSVector(-std::sqrt(0.5f), std::sqrt(0.5f), 0)}};
    for (const auto& [q, degrees, axis] : cases) {
        const FSAxisAngle a = ToDrawingAxisAngle(q);
        EXPECT_NEAR(a.degrees, degrees, 1e-3f);
        ExpectNear(a.axis, axis.x, axis.y, axis.z);
    }
    EXPECT_FALSE(std::isnan(ToDrawingAxisAngle(FSQuaternion{1.0000001f, 0.0f, 0.01f, 0.0f}).degrees));
    // The nose (body y) turns onto the direction; with a second one body z leans toward it.
    for (const FSVector& d : {FSVector(0, 0, -3), FSVector(1, 1, 1), FSVector(0, -1, 0)}) {
        const FSVector n = Normalise(d);
        ExpectNear(Rotate(LookAlongQuaternion(d), FSVector(0, 1, 0)), n.x, n.y, n.z);
    }
    const FSQuaternion q = LookAlongQuaternion(FSVector(1, 0, 0), FSVector(0.3f, 1, 0));
    ExpectNear(Rotate(q, FSVector(0, 0, 1)), 0, 1, 0);
    ExpectNear(Rotate(q, FSVector(1, 0, 0)), 0, 0, 1);  // right-handed: x = y × z
    ExpectNear(Rotate(LookAlongQuaternion(FSVector(0, 0, 1), FSVector(0, 0, 2)), FSVector(0, 1, 0)), 0, 0, 1);
}

TEST(SineTable, InterpolatesSineAndCosineForAnyAngle) {
    SineTable table;
    // Negative angles truncate toward zero, so their fraction runs back from the sample
    // above with that sample's slope: still within 1e-5.
    for (float a = -20.0f; a < 20.0f; a += 0.0137f) {
        ASSERT_NEAR(table.Sin(a), std::sin(a), a >= 0.0f ? 2.5e-6f : 1e-5f) << a;
        ASSERT_NEAR(table.Cos(a), std::cos(a), a >= 0.0f ? 2.5e-6f : 1e-5f) << a;
    }
    EXPECT_LE(std::fabs(table.Sin(1.0e12f)), 1.0f);  // beyond the int range
    EXPECT_EQ(table.Sin(std::nanf("")), 0.0f);
}

TEST(WorldCells, WrapAtThirtyButNotAtMinusThirtyAndTakeTheShortWayAcrossTheSeam) {
    const std::tuple<FSFixedVector, FSCell, FSFixedVector, FSCell> cases[] = {
        {{F(30), F(5), 0}, {3, 1}, {F(-30), F(5), 0}, {0, 1}},  // height is never wrapped
        {{F(-30), 0, F(-30)}, {0, 0}, {F(-30), 0, F(-30)}, {0, 0}},
        {{F(-30) - 1, 0, F(29.5)}, {0, 3}, {F(30) - 1, 0, F(29.5)}, {3, 3}},
        {{0, 0, F(45)}, {2, 3}, {0, 0, F(-15)}, {2, 0}},
        {{F(100), 0, F(-95)}, {1, 1}, {F(40), 0, F(-35)}, {2, 0}}};  // one cell at a time
    for (const auto& [at, cell, wrapped, to] : cases) {
        FSFixedVector p = at;
        FSCell c = cell;
        WrapIntoCell(p, c);
        EXPECT_TRUE(p == wrapped && c == to) << at.x << " " << at.z;
    }
    EXPECT_EQ(WrapCellIndex(-1), 3);
    // Column 0 at x = −29 and column 3 at x = 29 are 2 km apart; one cell and neighbours
    // keep the plain difference, as does exactly half way round.
    for (const auto& [a, aCell, b, bCell, d] : {std::tuple{-29.0, 0, 29.0, 3, 2.0},
                                                {29.0, 3, -29.0, 0, -2.0},
                                                {10.0, 1, -10.0, 1, 20.0},
                                                {-20.0, 2, 20.0, 1, 20.0},
                                                {0.0, 2, 0.0, 0, 120.0}})
        EXPECT_EQ(WrappedAxisDifference(F(a), aCell, F(b), bCell), F(d)) << a << " " << b;
    EXPECT_EQ(WrappedDifference({0, F(7), F(25)}, FSCell{0, 3}, {0, F(2), F(-25)}, FSCell{0, 0}),
              (FSFixedVector{0, F(5), F(-10)}));  // y plain, rows meet across the seam too
}

}  // namespace
