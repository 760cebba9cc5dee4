#pragma once
// 16.16 fixed point: the number type of everything on the rendering side (coordinates,
// lengths, scale factors, matrix elements, texture coordinates). A value is a signed
// 32-bit integer holding value × 65536, so 1.0 = 0x10000, 30.0 = 0x1E0000 and one world
// unit is one kilometre. Angles handed to the graphics library are degrees in 16.16.
//
// Every operation here is integer arithmetic with 64-bit intermediates; results that do
// not fit are saturated to ±0x7FFFFFFF where noted, never left to wrap into nonsense.
#include <cstdint>

using FSFixed = int32_t;

inline constexpr FSFixed kFixedOne = 0x10000;
inline constexpr FSFixed kFixedHalf = 0x8000;
inline constexpr FSFixed kFixedMax = 0x7FFFFFFF;
inline constexpr FSFixed kFixedMin = static_cast<FSFixed>(0x80000000u);

// Exact conversions of small whole numbers, usable in constant expressions.
constexpr FSFixed FixedFromInt(int value) {
    return static_cast<FSFixed>(static_cast<uint32_t>(value) << 16);
}

// (a × b) >> 16 on a 64-bit product; the result is truncated to 32 bits like the
// graphics library's own fixed-point product (callers keep their values in range).
inline FSFixed FixedMul(FSFixed a, FSFixed b) {
    return static_cast<FSFixed>((static_cast<int64_t>(a) * static_cast<int64_t>(b)) >> 16);
}

// (a << 16) / b on a 64-bit dividend, truncated toward zero. A quotient that does not fit
// and any division by zero saturate: ±0x7FFFFFFF by the sign of a (0 / 0 gives 0).
FSFixed FixedDiv(FSFixed a, FSFixed b);

// 1 / x: a first estimate from an 8-entry table of the reciprocals of 2.0, 2.25, ..., 3.75
// picked by the three bits after the leading one bit of |x|, scaled by the power of two
// of |x|, then two Newton steps r = r × (2 − |x| × r); the sign of x is applied last.
// 1 / 0 is 0x7FFFFFFF; reciprocals beyond the 16.16 range (|x| below 4/65536) saturate.
// Accurate to about 2.5e-4 of the value (plus one unit of the last place).
FSFixed FixedReciprocal(FSFixed x);

// Square root by Newton's method, six steps y = (y + x / y) / 2. The start value is taken
// from the leading one bit of x, so that six steps reach full precision over the whole
// 16.16 range. 0 and negative values give 0.
FSFixed FixedSqrt(FSFixed x);

// Square root of a 32.32 value (the raw sum of squared 16.16 values) as 16.16, exact to
// the last place. Used for vector lengths, where squaring 16.16 values would lose the
// small components.
FSFixed FixedSqrtWide(uint64_t squares);

// Float to fixed: × 65536, truncated toward zero; values beyond the range saturate and NaN
// gives 0. Fixed to float: × 1/65536.
FSFixed FloatToFixed(float value);
FSFixed DoubleToFixed(double value);
inline float FixedToFloat(FSFixed value) {
    return static_cast<float>(value) * 1.5258789e-5f;
}
