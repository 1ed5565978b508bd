// Exact vectors and the small linear algebra the geometry needs.
//
// Notation: Vec3 is (x, y, z), a point or a displacement; Point2 is (x, y) in the xy-plane.
// a·b is dot, a×b is cross (right-handed), norm1(a) = |x| + |y| + |z|.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "exact/rational.hpp"

namespace brevant {

using Vec3 = std::array<Rational, 3>;
using Point2 = std::array<Rational, 2>;

Vec3 add(const Vec3& a, const Vec3& b);
Vec3 sub(const Vec3& a, const Vec3& b);
Vec3 neg(const Vec3& a);
Vec3 smul(const Rational& s, const Vec3& a);
Rational dot(const Vec3& a, const Vec3& b);
Vec3 cross(const Vec3& a, const Vec3& b);
Rational norm1(const Vec3& a);

// The x with rows[i]·x = r[i] by Cramer's rule, or nothing when the determinant is exactly zero.
// A row with one nonzero entry (a plane across an axis, common in solids) is solved first and the
// rest as a 2×2 system.
std::optional<Vec3> solve3(const std::array<Vec3, 3>& rows, const Vec3& r);

// (p − o) × (q − o) in the plane: twice the signed area of the triangle o, p, q, positive when it
// turns counter-clockwise.
Rational orient2(const Point2& o, const Point2& p, const Point2& q);

// Twice the signed area of a closed loop (shoelace): positive when counter-clockwise.
Rational loop_area2(const std::vector<Point2>& loop);

}  // namespace brevant
