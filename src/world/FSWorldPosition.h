#pragma once
// The wrap-around world: a torus of 4 × 4 square cells, each 60.0 km wide in x and z. A
// world position is a cell (column along x, row along z, each 0..3) and a local position
// (16.16 km) with x and z in [−30.0, 30.0) and y (height) unbounded. Differences between
// positions take the shortest way across the seam, so the world is 240 km around.
#include "world/FSFixedVector.h"

struct FSCell {
    int32_t column = 0;  // along x, 0..3
    int32_t row = 0;     // along z, 0..3

    bool operator==(const FSCell& o) const { return column == o.column && row == o.row; }
    bool operator!=(const FSCell& o) const { return !(*this == o); }
};

inline constexpr FSFixed kCellSize = FixedFromInt(60);
inline constexpr FSFixed kHalfCell = FixedFromInt(30);
inline constexpr FSFixed kWorldSize = FixedFromInt(240);
inline constexpr int kCellsPerSide = 4;
// The scene height of sea level, altitude 0 (16.16 km): every height above it is an
// altitude, as the flight model, the air, the sky and the height read-out take it. The
// terrains' sea lies here, so the air thins as an aircraft climbs over them.
inline constexpr FSFixed kSeaLevel = FixedFromInt(5);
inline constexpr float kSeaLevelKm = 5.0f;

// The neighbouring cell number, 0 and 3 wrapping round (any number is first taken
// modulo 4 into 0..3).
int32_t WrapCellIndex(int32_t index);

// Moves x and z back into [−30, 30) by at most one cell each: below −30.0 the column (or
// row) goes down by one (0 becomes 3) and 60.0 is added; at or above 30.0 it goes up by
// one (3 becomes 0) and 60.0 is subtracted. Exactly −30.0 stays. A value more than a cell
// outside is moved by one cell only.
void WrapIntoCell(FSFixedVector& local, FSCell& cell);

// a − b across the torus: per axis (local + cell × 60) − (other local + other cell × 60),
// replaced by the difference corrected by 240 toward zero when that is shorter; y is the
// plain difference.
FSFixedVector WrappedDifference(const FSFixedVector& a, const FSCell& aCell, const FSFixedVector& b,
                                const FSCell& bCell);
// One axis of the above.
FSFixed WrappedAxisDifference(FSFixed a, int32_t aCell, FSFixed b, int32_t bCell);
