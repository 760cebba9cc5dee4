#include "world/FSFixedMatrix.h"

#include "world/FSFixedVector.h"

FSFixedMatrix FSFixedMatrix::Identity() {
    FSFixedMatrix result;
    result.m[0] = result.m[5] = result.m[10] = result.m[15] = kFixedOne;
    return result;
}

FSRowMatrix FSRowMatrix::Identity() {
    FSRowMatrix result;
    result.m[0] = result.m[5] = result.m[10] = result.m[15] = kFixedOne;
    return result;
}

FSFixedMatrix Multiply(const FSFixedMatrix& a, const FSFixedMatrix& b) {
    FSFixedMatrix result;
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            int64_t sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += static_cast<int64_t>(a.At(row, k)) * b.At(k, column);
            result.At(row, column) = static_cast<FSFixed>(sum >> 16);
        }
    }
    return result;
}

FSFixedVector TransformPoint(const FSFixedMatrix& m, const FSFixedVector& p) {
    FSFixedVector result;
    for (int row = 0; row < 3; ++row) {
        const int64_t sum = static_cast<int64_t>(m.At(row, 0)) * p.x +
                            static_cast<int64_t>(m.At(row, 1)) * p.y +
                            static_cast<int64_t>(m.At(row, 2)) * p.z;
        result[row] = static_cast<FSFixed>(sum >> 16) + m.At(row, 3);
    }
    return result;
}
