// Exact rigid and affine maps of solids. Maps that reverse orientation flip every polygon
// afterwards, so that outward faces stay outward. Planes are carried through each map exactly
// (Solid::mapped), never taken from a merged face's first three points alone.
//
// Notation: axis 0, 1, 2 is x, y, z; a quarter turn about an axis is counter-clockwise seen from
// its positive end (right-hand rule): about z, (x, y) -> (−y, x).
#pragma once

#include <cstdint>

#include "exact/affine.hpp"
#include "solid/solid.hpp"

namespace brevant {

Solid translated(const Solid& solid, const Vec3& by);
// Flips when fx·fy·fz < 0; a zero factor collapses faces without removing them.
Solid scaled(const Solid& solid, const Rational& fx, const Rational& fy, const Rational& fz);
// An axis above 2 fails on a solid that has a vertex.
Solid mirrored(const Solid& solid, std::uint64_t axis);
// The axis is taken modulo 3 and the quarters by their two lowest bits.
Solid rotated_quarter(const Solid& solid, std::uint64_t axis, std::int64_t quarters);
// Any invertible affine map, flipping where its determinant is negative; a singular one is refused.
Solid transformed(const Solid& solid, const Affine& map);
// The turn about the line through `point` along `direction` by the rational rotation nearest in
// terms to `degrees` within `tolerance` radians (exact/rational_rotation.hpp). A zero direction and
// a tolerance that is not positive are refused.
Solid rotated(const Solid& solid, const Vec3& point, const Vec3& direction, const Rational& degrees,
              const Rational& tolerance);

}  // namespace brevant
