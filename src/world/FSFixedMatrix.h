#pragma once
// 4 × 4 matrices of 16.16 values, in two layouts kept apart by type:
// - FSFixedMatrix: the graphics library's column-major order (element (row r, column c)
//   at index c × 4 + r), handed to glLoadMatrixx / glMultMatrixx directly. The camera's
//   view and projection matrices are of this kind.
// - FSRowMatrix: row-major with column vectors, translation in elements 3, 7 and 11;
//   built from a node's orientation and position to transform its model box.
#include "world/FSFixed.h"

struct FSFixedVector;

struct FSFixedMatrix {
    FSFixed m[16] = {};

    static FSFixedMatrix Identity();
    FSFixed At(int row, int column) const { return m[column * 4 + row]; }
    FSFixed& At(int row, int column) { return m[column * 4 + row]; }
};

// a × b (apply b first). Each element is summed exactly in 64 bits and shifted once.
FSFixedMatrix Multiply(const FSFixedMatrix& a, const FSFixedMatrix& b);
// The point m × (p, 1), without the perspective division.
FSFixedVector TransformPoint(const FSFixedMatrix& m, const FSFixedVector& p);

struct FSRowMatrix {
    FSFixed m[16] = {};

    static FSRowMatrix Identity();
};
