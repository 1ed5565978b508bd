#include "exact/affine.hpp"

namespace brevant {

Vec3 times(const Matrix3& m, const Vec3& v) { return {dot(m[0], v), dot(m[1], v), dot(m[2], v)}; }

Rational determinant(const Matrix3& m) { return dot(m[0], cross(m[1], m[2])); }

Matrix3 cofactor(const Matrix3& m) { return {cross(m[1], m[2]), cross(m[2], m[0]), cross(m[0], m[1])}; }

Matrix3 transposed(const Matrix3& m) {
    return {Vec3{m[0][0], m[1][0], m[2][0]}, Vec3{m[0][1], m[1][1], m[2][1]}, Vec3{m[0][2], m[1][2], m[2][2]}};
}

}  // namespace brevant
