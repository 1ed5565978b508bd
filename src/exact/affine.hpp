// Exact affine maps of space and what they do to planes.
//
// Notation: the map is x -> A·x + t, A given by its rows a0, a1, a2 and t by `shift`. cof(A), the
// cofactor matrix, has the rows a1×a2, a2×a0, a0×a1; it is det(A)·A^-T where A is invertible, and
// for every u, v: (A·u) × (A·v) = cof(A)·(u × v). So cof(A) maps a loop's vector area, and with it
// the normal of its plane, to those of the image loop, oriented as the image loop runs, without a
// division and for singular maps too.
#pragma once

#include <array>

#include "exact/vec3.hpp"

namespace brevant {

using Matrix3 = std::array<Vec3, 3>;  // rows

// m·v.
Vec3 times(const Matrix3& m, const Vec3& v);
Rational determinant(const Matrix3& m);
Matrix3 cofactor(const Matrix3& m);
Matrix3 transposed(const Matrix3& m);

struct Affine {
    Matrix3 linear;
    Vec3 shift;

    Vec3 apply(const Vec3& p) const { return add(times(linear, p), shift); }
};

}  // namespace brevant
