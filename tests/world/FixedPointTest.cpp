#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <tuple>
#include <utility>

#include "world/FSBox.h"
#include "world/FSFixed.h"
#include "world/FSFixedMatrix.h"
#include "world/FSFixedVector.h"
#include "world/FSVectorMath.h"

namespace {

constexpr FSFixed kOne = kFixedOne;

FSFixed F(double v) {
    return DoubleToFixed(v);
}
double D(FSFixed v) {
    return v / 65536.0;
}

TEST(FixedPoint, ProductsAndQuotientsUseWideIntermediatesAndSaturate) {
    // 200 × 100 overflows 32 bits before the shift but not after it.
    for (const auto& [a, b, product] :
         {std::tuple{1.5, 2.0, 3.0}, {-1.5, 2.0, -3.0}, {200.0, 100.0, 20000.0}})
        EXPECT_EQ(FixedMul(F(a), F(b)), F(product)) << a << " × " << b;
    for (const auto& [a, b, quotient] :
         {std::tuple{3.0, 2.0, 1.5}, {-1.0, 4.0, -0.25}, {20000.0, 0.5, 40000.0}})
        EXPECT_EQ(FixedDiv(F(a), F(b)), F(quotient)) << a << " / " << b;
    // Division by zero and overflow saturate instead of crashing.
    EXPECT_EQ(FixedDiv(F(1.0), 0), kFixedMax);
    EXPECT_EQ(FixedDiv(F(-1.0), 0), -kFixedMax);
    EXPECT_EQ(FixedDiv(0, 0), 0);
    EXPECT_EQ(FixedDiv(F(30000.0), F(0.001)), kFixedMax);
    EXPECT_EQ(FixedDiv(F(-30000.0), F(0.001)), -kFixedMax);
}

TEST(FixedPoint, ReciprocalIsAccurateOverTheWholeRangeAndKeepsTheSign) {
    // Powers of two and the table's own points are exact; zero gives the largest value.
    for (double x : {1.0, 2.0, 0.5, -4.0})
        EXPECT_EQ(FixedReciprocal(F(x)), F(1 / x)) << x;
    EXPECT_EQ(FixedReciprocal(0), 0x7FFFFFFF);
    int checked = 0;
    for (double x = 4.0 / 65536.0; x < 32000.0; x *= 1.0137) {
        const FSFixed fx = F(x);
        const double exact = 65536.0 * 65536.0 / fx;  // raw reciprocal of the fixed input
        if (exact > 2147483647.0) continue;
        const FSFixed r = FixedReciprocal(fx);
        EXPECT_NEAR(r, exact, exact * 3e-4 + 2.0) << x;
        EXPECT_EQ(FixedReciprocal(-fx), -r) << x;
        ++checked;
    }
    EXPECT_GT(checked, 1000);
    // Beyond the range: the reciprocal of 1/65536 does not fit.
    EXPECT_EQ(FixedReciprocal(1), kFixedMax);
    EXPECT_EQ(FixedReciprocal(-2), -kFixedMax);
    EXPECT_GT(FixedReciprocal(kFixedMax), 0);
}

TEST(FixedPoint, SquareRootIsExactToTheLastPlacesOverTheWholeRange) {
    for (const auto& [x, root] : {std::pair{0.0, 0.0}, {-4.0, 0.0}, {4.0, 2.0}, {900.0, 30.0}, {0.25, 0.5}})
        EXPECT_EQ(FixedSqrt(F(x)), F(root)) << x;
    for (double x = 1.0 / 65536.0; x < 32767.0; x *= 1.09) {
        const FSFixed fx = F(x);
        const double exact = std::sqrt(fx / 65536.0) * 65536.0;
        EXPECT_NEAR(FixedSqrt(fx), exact, 1.5) << x;
    }
    EXPECT_NEAR(FixedSqrt(kFixedMax), std::sqrt(32768.0) * 65536.0, 2.0);
    // The wide form is exact for sums beyond 32 bits.
    EXPECT_EQ(FixedSqrtWide(static_cast<uint64_t>(F(3.0)) * F(3.0) + static_cast<uint64_t>(F(4.0)) * F(4.0)),
              F(5.0));
    EXPECT_EQ(FixedSqrtWide(0), 0);
}

TEST(FixedPoint, ConversionsTruncateTowardZeroAndSaturate) {
    EXPECT_EQ(FloatToFixed(1.0f), 0x10000);
    EXPECT_EQ(FloatToFixed(30.0f), 0x1E0000);
    EXPECT_EQ(FloatToFixed(1.9999999e-5f), 1);    // 1.31 raw, truncated
    EXPECT_EQ(FloatToFixed(-1.9999999e-5f), -1);  // toward zero, not down
    EXPECT_EQ(FloatToFixed(1.0e9f), kFixedMax);
    EXPECT_EQ(FloatToFixed(-1.0e9f), kFixedMin);
    EXPECT_EQ(FloatToFixed(std::nanf("")), 0);
    EXPECT_FLOAT_EQ(FixedToFloat(0x18000), 1.5f);
    EXPECT_FLOAT_EQ(FixedToFloat(1), 1.5258789e-5f);
}

TEST(FixedVector, CrossDotLengthAndNormalise) {
    const FSFixedVector x{kOne, 0, 0}, y{0, kOne, 0}, z{0, 0, kOne};
    EXPECT_EQ(Cross(x, y), z);
    EXPECT_EQ(Cross(y, z), x);
    EXPECT_EQ(Dot(FSFixedVector{F(2), F(3), F(4)}, FSFixedVector{F(1), F(-1), F(0.5)}), F(1.0));
    EXPECT_EQ(Length(FSFixedVector{F(3), 0, F(-4)}), F(5));
    EXPECT_EQ(Scale(FSFixedVector{F(1), F(-2), F(3)}, F(0.5)), (FSFixedVector{F(0.5), F(-1), F(1.5)}));

    EXPECT_EQ(Normalise(FSFixedVector{}), FSFixedVector{});
    EXPECT_EQ(Normalise(FSFixedVector{F(5), 0, 0}), x);
    EXPECT_EQ(Normalise(FSFixedVector{1, 0, 0}), x);  // the shortest vector still normalises
    const FSFixedVector n = Normalise(FSFixedVector{F(20), F(-7), F(3)});
    EXPECT_NEAR(D(Length(n)), 1.0, 1e-4);
    EXPECT_NEAR(D(n.x), 20.0 / std::sqrt(458.0), 1e-4);
}

TEST(FixedBox, EmptyBoxExtendsUnitesAndStaysEmptyWhenTransformed) {
    FSBox box;
    EXPECT_TRUE(box.IsEmpty());
    EXPECT_EQ(box.Extent(), FSFixedVector{});
    EXPECT_EQ(box.LargestExtent(), 0);
    EXPECT_TRUE(TransformBox(box, FSRowMatrix::Identity()).IsEmpty());

    box.Extend({F(1), F(2), F(3)});
    EXPECT_FALSE(box.IsEmpty());
    EXPECT_EQ(box.min, (FSFixedVector{F(1), F(2), F(3)}));
    EXPECT_EQ(box.max, box.min);
    box.Extend({F(-1), F(5), F(3)});
    EXPECT_EQ(box.Extent(), (FSFixedVector{F(2), F(3), 0}));
    EXPECT_EQ(box.LargestExtent(), F(3));

    FSBox other = FSBox::FromCorners({F(0), F(0), F(0)}, {F(10), F(1), F(1)});
    other.Unite(FSBox::Empty());
    EXPECT_EQ(other, FSBox::FromCorners({F(0), F(0), F(0)}, {F(10), F(1), F(1)}));
    other.Unite(box);
    EXPECT_EQ(other, FSBox::FromCorners({F(-1), F(0), F(0)}, {F(10), F(5), F(3)}));

    const int32_t words[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(FSBox::FromWords(words), FSBox::FromCorners({1, 2, 3}, {4, 5, 6}));
    // Any min above its max counts as empty.
    EXPECT_TRUE(FSBox::FromCorners({0, F(2), 0}, {F(1), F(1), F(1)}).IsEmpty());
}

TEST(FixedBox, TouchingBoxesOverlapContainmentAllowsSharedFacesAndCornersArePerAxis) {
    const FSBox a = FSBox::FromCorners({0, 0, 0}, {F(1), F(1), F(1)});
    const FSBox touching = FSBox::FromCorners({F(1), 0, 0}, {F(2), F(1), F(1)});
    const FSBox apart = FSBox::FromCorners({F(1) + 1, 0, 0}, {F(2), F(1), F(1)});
    EXPECT_TRUE(Overlaps(a, touching));
    EXPECT_TRUE(Overlaps(touching, a));
    EXPECT_FALSE(Overlaps(a, apart));
    EXPECT_FALSE(Overlaps(a, FSBox::Empty()));
    EXPECT_TRUE(Overlaps(apart.Grown(1), a));

    const FSBox inner = FSBox::FromCorners({0, F(0.25), F(0.25)}, {F(0.5), F(1), F(0.75)});
    EXPECT_TRUE(Contains(a, inner));
    EXPECT_TRUE(Contains(a, a));
    EXPECT_FALSE(Contains(inner, a));
    EXPECT_FALSE(Contains(a, touching));
    EXPECT_FALSE(Contains(a, FSBox::Empty()));
    EXPECT_TRUE(ContainsPoint(a, {F(1), F(1), 0}));
    EXPECT_FALSE(ContainsPoint(a, {F(1) + 1, 0, 0}));
    // The nearest corner is chosen per axis.
    const FSBox box = FSBox::FromCorners({F(-1), F(0), F(2)}, {F(1), F(4), F(6)});
    EXPECT_EQ(NearestCorner(box, {F(-5), F(3), F(2.5)}), (FSFixedVector{F(-1), F(4), F(2)}));
    EXPECT_EQ(NearestCorner(box, {F(0.5), F(-3), F(10)}), (FSFixedVector{F(1), F(0), F(6)}));
}

TEST(FixedBox, TransformUsesTheMinMaxOfEveryProduct) {
    const FSBox box = FSBox::FromCorners({F(-1), F(-2), F(-3)}, {F(1), F(2), F(3)});
    // Identity with translation moves the box.
    FSRowMatrix move = FSRowMatrix::Identity();
    move.m[3] = F(10);
    move.m[7] = F(-5);
    move.m[11] = F(0.5);
    EXPECT_EQ(TransformBox(box, move), FSBox::FromCorners({F(9), F(-7), F(-2.5)}, {F(11), F(-3), F(3.5)}));
    // A quarter turn about y (x → −z, z → x) swaps the x and z extents.
    const FSQuaternion turn = FromAxisAngle(FSVector(0, 1, 0), 3.14159265f / 2.0f);
    const FSBox turned = TransformBox(box, ToRowMatrix(turn, {F(1), 0, 0}));
    EXPECT_NEAR(D(turned.min.x), -2.0, 1e-3);
    EXPECT_NEAR(D(turned.max.x), 4.0, 1e-3);
    EXPECT_NEAR(D(turned.min.y), -2.0, 1e-3);
    EXPECT_NEAR(D(turned.max.z), 1.0, 1e-3);
    EXPECT_NEAR(D(turned.min.z), -1.0, 1e-3);
    // An eighth turn grows the box to hold the turned corners.
    const FSQuaternion eighth = FromAxisAngle(FSVector(0, 0, 1), 3.14159265f / 4.0f);
    const FSBox unit = FSBox::FromCorners({F(-1), F(-1), F(-1)}, {F(1), F(1), F(1)});
    const FSBox grown = TransformBox(unit, ToRowMatrix(eighth, {}));
    EXPECT_NEAR(D(grown.max.x), std::sqrt(2.0), 1e-3);
    EXPECT_NEAR(D(grown.min.y), -std::sqrt(2.0), 1e-3);
    EXPECT_NEAR(D(grown.max.z), 1.0, 1e-4);
}

TEST(FixedMatrix, ColumnMajorProductAppliesTheRightOperandFirst) {
    FSFixedMatrix translate = FSFixedMatrix::Identity();
    translate.At(0, 3) = F(5);  // x + 5
    FSFixedMatrix scale = FSFixedMatrix::Identity();
    scale.At(0, 0) = F(2);             // x × 2
    EXPECT_EQ(translate.m[12], F(5));  // the graphics library's layout
    const FSFixedVector p{F(1), F(1), F(1)};
    EXPECT_EQ(TransformPoint(Multiply(translate, scale), p).x, F(7));
    EXPECT_EQ(TransformPoint(Multiply(scale, translate), p).x, F(12));
    EXPECT_EQ(TransformPoint(FSFixedMatrix::Identity(), p), p);
}

}  // namespace
