// Square roots of rationals, exact where the root is rational and to a fixed precision otherwise.
//
// Notation: for s = n/d >= 0, √s = √(n·d)/d. When m = n·d is not a perfect square, √m is
// replaced by the first convergent p/q of its continued fraction with q²·⌊√m⌋ >= 2^62. Every
// convergent satisfies |√m − p/q| < 1/q², so the relative error |p/q − √m|/√m is below
// 1/(q²·√m) <= 2^-62. Convergents are the closest fractions with denominators that small, which
// keeps the numbers the result feeds into as short as the precision allows (q near 2^31).
#pragma once

#include "exact/rational.hpp"

namespace brevant {

inline constexpr int kSqrtApproxBits = 62;  // |result − √s| < 2^-kSqrtApproxBits·√s

// √s when it is rational, otherwise the convergent above divided by d; a negative s fails.
Rational sqrt_approx(const Rational& s);

}  // namespace brevant
