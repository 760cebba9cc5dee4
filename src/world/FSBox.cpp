#include "world/FSBox.h"

#include <algorithm>

FSBox FSBox::FromWords(const int32_t words[6]) {
    return FSBox{{words[0], words[1], words[2]}, {words[3], words[4], words[5]}};
}

void FSBox::Extend(const FSFixedVector& point) {
    for (int axis = 0; axis < 3; ++axis) {
        min[axis] = std::min(min[axis], point[axis]);
        max[axis] = std::max(max[axis], point[axis]);
    }
}

void FSBox::Unite(const FSBox& other) {
    if (other.IsEmpty()) return;
    for (int axis = 0; axis < 3; ++axis) {
        min[axis] = std::min(min[axis], other.min[axis]);
        max[axis] = std::max(max[axis], other.max[axis]);
    }
}

FSFixedVector FSBox::Extent() const {
    if (IsEmpty()) return {};
    return max - min;
}

FSFixed FSBox::LargestExtent() const {
    const FSFixedVector e = Extent();
    return std::max(e.x, std::max(e.y, e.z));
}

FSFixedVector FSBox::Centre() const {
    FSFixedVector c;
    for (int axis = 0; axis < 3; ++axis) {
        c[axis] = static_cast<FSFixed>((static_cast<int64_t>(min[axis]) + max[axis]) / 2);
    }
    return c;
}

FSBox FSBox::Grown(FSFixed margin) const {
    if (IsEmpty()) return *this;
    FSBox grown = *this;
    for (int axis = 0; axis < 3; ++axis) {
        grown.min[axis] -= margin;
        grown.max[axis] += margin;
    }
    return grown;
}

bool Overlaps(const FSBox& a, const FSBox& b) {
    if (a.IsEmpty() || b.IsEmpty()) return false;
    for (int axis = 0; axis < 3; ++axis) {
        if (a.max[axis] < b.min[axis] || b.max[axis] < a.min[axis]) return false;
    }
    return true;
}

bool Contains(const FSBox& outer, const FSBox& inner) {
    if (outer.IsEmpty() || inner.IsEmpty()) return false;
    for (int axis = 0; axis < 3; ++axis) {
        if (inner.min[axis] < outer.min[axis] || inner.max[axis] > outer.max[axis]) return false;
    }
    return true;
}

bool ContainsPoint(const FSBox& box, const FSFixedVector& point) {
    for (int axis = 0; axis < 3; ++axis) {
        if (point[axis] < box.min[axis] || point[axis] > box.max[axis]) return false;
    }
    return true;
}

FSFixedVector NearestCorner(const FSBox& box, const FSFixedVector& point) {
    FSFixedVector corner;
    for (int axis = 0; axis < 3; ++axis) {
        const int64_t toMin = static_cast<int64_t>(point[axis]) - box.min[axis];
        const int64_t toMax = static_cast<int64_t>(box.max[axis]) - point[axis];
        const int64_t distanceMin = toMin < 0 ? -toMin : toMin;
        const int64_t distanceMax = toMax < 0 ? -toMax : toMax;
        corner[axis] = distanceMin <= distanceMax ? box.min[axis] : box.max[axis];
    }
    return corner;
}

FSBox TransformBox(const FSBox& box, const FSRowMatrix& m) {
    if (box.IsEmpty()) return FSBox::Empty();
    FSBox result;
    for (int row = 0; row < 3; ++row) {
        FSFixed lo = m.m[row * 4 + 3];
        FSFixed hi = lo;
        for (int column = 0; column < 3; ++column) {
            const FSFixed element = m.m[row * 4 + column];
            const FSFixed a = FixedMul(element, box.min[column]);
            const FSFixed b = FixedMul(element, box.max[column]);
            lo += std::min(a, b);
            hi += std::max(a, b);
        }
        result.min[row] = lo;
        result.max[row] = hi;
    }
    return result;
}
