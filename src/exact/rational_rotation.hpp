// Rotations with rational matrices about an axis, near a requested angle.
//
// Notation: d is the axis direction as an integer vector, m = d·d. The integer quaternion
// (a, b·d), a >= 0, is the rotation by θ = 2·atan2(b·√m, a), counter-clockwise seen from the end
// of d (right-hand rule), with the matrix
//     R = ((a² − b²m)·I + 2b²·d·dᵀ + 2ab·[d]×) / (a² + b²m),
// [d]× being the matrix of v -> d × v. R is rational, RᵀR = I and det R = 1 exactly, and its axis
// is d exactly whatever m is. The half angle φ = θ/2 has tan φ = (b/a)·√m, so a rotation near an
// angle is a rational b/a near tan(φ)/√m, and the simplest one is the one of smallest terms.
#pragma once

#include <array>

#include "exact/affine.hpp"

namespace brevant {

using IntegerDirection = std::array<BigInt, 3>;

struct AxisTurn {
    BigInt a, b;
};

Matrix3 turn_matrix(const IntegerDirection& d, const AxisTurn& turn);

// The turn about d (not zero) of smallest terms whose angle lies within `tolerance` radians
// (positive) of `degrees` degrees, taken modulo 360; 0 and 180 degrees, and angles whose half
// angle has a tangent of the form q·√m, are met exactly. The turn for −degrees is the inverse one:
// (a, −b).
AxisTurn turn_near(const IntegerDirection& d, const Rational& degrees, const Rational& tolerance);

// The rational of smallest denominator (then of smallest absolute numerator) in [lo, hi], lo <= hi.
Rational simplest_between(const Rational& lo, const Rational& hi);

}  // namespace brevant
