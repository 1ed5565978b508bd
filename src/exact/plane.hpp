// Planes: normal·x = offset, the front side being where the normal points.
//
// Notation: the canonical quadruple (a, b, c, d) is the plane as a·x + b·y + c·z = d in coprime
// integers with the first nonzero entry positive; it ignores both scale and orientation.
#pragma once

#include <array>
#include <optional>

#include "exact/bigint.hpp"
#include "exact/vec3.hpp"

namespace brevant {

using PlaneKey = std::array<BigInt, 4>;

struct Plane {
    Vec3 normal;
    Rational offset;

    // normal = (b − a) × (c − a), offset = normal·a; collinear points give the zero plane.
    static Plane from_points(const Vec3& a, const Vec3& b, const Vec3& c);

    // −1, 0 or +1: the sign of normal·p − offset.
    int side(const Vec3& p) const;
    PlaneKey canonical() const;
    // Equal for two planes that are the same set of points (the negated canonical quadruple).
    PlaneKey coplanar_key() const;
    // The unit normal along the canonical direction, when its length is rational. A zero
    // normal fails with a division by zero.
    std::optional<Vec3> unit_normal() const;
    Plane flipped() const;
};

}  // namespace brevant
