#include <gtest/gtest.h>

#include "world/FSWorldPosition.h"

namespace {

FSFixed F(double v) {
    return DoubleToFixed(v);
}

TEST(WorldCells, WrapsAtThirtyButNotAtMinusThirty) {
    FSFixedVector p{F(30.0), F(5.0), 0};
    FSCell cell{3, 1};
    WrapIntoCell(p, cell);
    EXPECT_EQ(cell, (FSCell{0, 1}));
    EXPECT_EQ(p.x, F(-30.0));
    EXPECT_EQ(p.y, F(5.0));  // height is never wrapped

    p = {F(-30.0), 0, F(-30.0)};
    cell = {0, 0};
    WrapIntoCell(p, cell);
    EXPECT_EQ(cell, (FSCell{0, 0}));
    EXPECT_EQ(p.x, F(-30.0));

    p = {F(-30.0) - 1, 0, F(29.5)};
    cell = {0, 3};
    WrapIntoCell(p, cell);
    EXPECT_EQ(cell, (FSCell{3, 3}));
    EXPECT_EQ(p.x, F(30.0) - 1);
    EXPECT_EQ(p.z, F(29.5));

    p = {0, 0, F(45.0)};
    cell = {2, 3};
    WrapIntoCell(p, cell);
    EXPECT_EQ(cell, (FSCell{2, 0}));
    EXPECT_EQ(p.z, F(-15.0));
}

TEST(WorldCells, MovesAtMostOneCellPerWrap) {
    FSFixedVector p{F(100.0), 0, F(-95.0)};
    FSCell cell{1, 1};
    WrapIntoCell(p, cell);
    EXPECT_EQ(cell, (FSCell{2, 0}));
    EXPECT_EQ(p.x, F(40.0));
    EXPECT_EQ(p.z, F(-35.0));
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
