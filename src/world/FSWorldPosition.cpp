#include "world/FSWorldPosition.h"

namespace {

void WrapAxis(FSFixed& value, int32_t& cell) {
    if (value < -kHalfCell) {
        cell = WrapCellIndex(cell - 1);
        value += kCellSize;
    } else if (value >= kHalfCell) {
        cell = WrapCellIndex(cell + 1);
        value -= kCellSize;
    }
}

}  // namespace

int32_t WrapCellIndex(int32_t index) {
    const int32_t rest = index % kCellsPerSide;
    return rest < 0 ? rest + kCellsPerSide : rest;
}

void WrapIntoCell(FSFixedVector& local, FSCell& cell) {
    WrapAxis(local.x, cell.column);
    WrapAxis(local.z, cell.row);
}

FSFixed WrappedAxisDifference(FSFixed a, int32_t aCell, FSFixed b, int32_t bCell) {
    // In 64 bits: a local value far outside its cell must not overflow the sum.
    const int64_t d = (static_cast<int64_t>(a) + static_cast<int64_t>(aCell) * kCellSize) -
                      (static_cast<int64_t>(b) + static_cast<int64_t>(bCell) * kCellSize);
    const int64_t corrected = d > 0 ? d - kWorldSize : d < 0 ? d + kWorldSize : d;
    const int64_t magnitude = d < 0 ? -d : d;
    const int64_t correctedMagnitude = corrected < 0 ? -corrected : corrected;
    const int64_t result = magnitude > correctedMagnitude ? corrected : d;
    if (result > kFixedMax) return kFixedMax;
    if (result < -static_cast<int64_t>(kFixedMax)) return -kFixedMax;
    return static_cast<FSFixed>(result);
}

FSFixedVector WrappedDifference(const FSFixedVector& a, const FSCell& aCell, const FSFixedVector& b,
                                const FSCell& bCell) {
    return {WrappedAxisDifference(a.x, aCell.column, b.x, bCell.column), a.y - b.y,
            WrappedAxisDifference(a.z, aCell.row, b.z, bCell.row)};
}
