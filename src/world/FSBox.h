#pragma once
// Axis-aligned bounding boxes in 16.16: six values in the order min x, min y, min z,
// max x, max y, max z (a model's first six words, the scene's world box, the collision
// grid's area). The empty box has every min at 0x7FFFFFFF and every max at 0x80000000, so
// that extending it by any point gives that point; a box with any min above its max is
// treated as empty.
#include "world/FSFixedMatrix.h"
#include "world/FSFixedVector.h"

struct FSBox {
    FSFixedVector min{kFixedMax, kFixedMax, kFixedMax};
    FSFixedVector max{kFixedMin, kFixedMin, kFixedMin};

    static FSBox Empty() { return FSBox{}; }
    static FSBox FromCorners(const FSFixedVector& lo, const FSFixedVector& hi) { return FSBox{lo, hi}; }
    // From six words in the order above (a mesh's box).
    static FSBox FromWords(const int32_t words[6]);

    bool IsEmpty() const { return min.x > max.x || min.y > max.y || min.z > max.z; }
    bool operator==(const FSBox& o) const { return min == o.min && max == o.max; }
    bool operator!=(const FSBox& o) const { return !(*this == o); }

    void Extend(const FSFixedVector& point);
    void Unite(const FSBox& other);  // an empty other changes nothing
    // max − min per axis; (0, 0, 0) for the empty box.
    FSFixedVector Extent() const;
    // The largest of the three extents; 0 for the empty box.
    FSFixed LargestExtent() const;
    FSFixedVector Centre() const;
    // Every side moved outward by margin (16.16); the empty box stays empty.
    FSBox Grown(FSFixed margin) const;
};

// True when the boxes share any point: boxes that only touch on a face overlap. Never
// true for an empty box.
bool Overlaps(const FSBox& a, const FSBox& b);
// True when inner lies wholly inside outer (faces may coincide). An empty inner box is
// inside nothing.
bool Contains(const FSBox& outer, const FSBox& inner);
// True when the point lies inside or on the box.
bool ContainsPoint(const FSBox& box, const FSFixedVector& point);
// The corner nearest to point, chosen per axis (the min side where the point lies at or
// below the centre of that axis, the max side otherwise).
FSFixedVector NearestCorner(const FSBox& box, const FSFixedVector& point);

// The box of box after the transformation m (row-major, translation in elements 3, 7 and
// 11), by per-axis min/max accumulation: each result bound starts at the translation and
// adds, for each matrix element, the element times the box bound that makes the product
// smallest (for the min) or largest (for the max). The empty box stays empty.
FSBox TransformBox(const FSBox& box, const FSRowMatrix& m);
