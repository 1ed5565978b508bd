// The primitive integer form of a tuple of rationals, shared by planes and directions.
#pragma once

#include <array>
#include <cstddef>

#include "exact/rational.hpp"

namespace brevant {

// Scales the values by the lcm of their denominators, divides by the gcd of the results and
// negates all when the first nonzero entry is negative. All zeros stay all zeros.
template <std::size_t N>
std::array<BigInt, N> primitive_integer_form(const std::array<const Rational*, N>& values) {
    BigInt common(1);
    for (const Rational* v : values) common = lcm(common, v->denominator());
    std::array<BigInt, N> ints;
    BigInt g(0);
    for (std::size_t i = 0; i < N; ++i) {
        ints[i] = values[i]->numerator() * divexact(common, values[i]->denominator());
        g = gcd(g, ints[i]);
    }
    if (g.sign() == 0) return ints;
    for (BigInt& k : ints) k = divexact(k, g);
    for (const BigInt& k : ints) {
        if (k.sign() == 0) continue;
        if (k.sign() < 0) {
            for (BigInt& m : ints) m = -m;
        }
        break;
    }
    return ints;
}

}  // namespace brevant
