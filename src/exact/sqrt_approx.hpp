// Square roots of rationals, exact where the root is rational and to a fixed precision otherwise.
//
// Notation: for s = n/d >= 0, √s = √(n·d)/d. When n·d is not a perfect square the root is taken
// as ⌊√(n·d·4^k)⌋ / (2^k·d) with the least k >= 0 for which n·d·4^k >= 2^124: the integer root
// then has at least 62 bits, so the result lies below √s by less than 2^-62·√s.
#pragma once

#include "exact/rational.hpp"

namespace brevant {

inline constexpr int kSqrtApproxBits = 62;  // the result is short of √s by less than 2^-kSqrtApproxBits·√s

// √s when it is rational, otherwise the rounded-down approximation above; a negative s fails.
Rational sqrt_approx(const Rational& s);

}  // namespace brevant
