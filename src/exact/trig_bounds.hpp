// Rigorous bounds on π, tan and square roots, for choosing rational rotations near an angle.
//
// Notation: `bits` is the working precision. Values are computed as integers counting units of
// 2^-bits ("ulps"), each rounded toward −∞ when a lower bound is wanted and toward +∞ for an upper
// one, so that every enclosure [lo, hi] holds the true value; the width of an enclosure shrinks
// about as bits·2^-bits (times 1/cos² x for tan x), each of some bits series terms rounding by an ulp. Every operation is exact on rationals except
// those roundings, and ties nothing to a floating-point library.
#pragma once

#include <optional>

#include "exact/rational.hpp"

namespace brevant {

struct Enclosure {
    Rational lo, hi;
};

Enclosure pi_enclosure(unsigned long bits);

// tan x for |x| <= 2, or nothing where the bound on cos x does not stay above zero at this
// precision (x within about 2^-bits of ±π/2). Symmetric: the enclosure at −x is the negated one at x.
std::optional<Enclosure> tan_enclosure(const Rational& x, unsigned long bits);

// √m for an integer m >= 1.
Enclosure sqrt_enclosure(const BigInt& m, unsigned long bits);

}  // namespace brevant
