// The primitive integer form of a tuple of rationals, shared by planes and directions.
//
// Notation: the values are scaled by the lcm of their denominators, divided by the gcd of the
// results and negated all together when the first nonzero entry is negative; all zeros stay all
// zeros. Values whose words are inline take a fast path in 128-bit integers; the rest use GMP.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <numeric>
#include <optional>

#include "exact/rational.hpp"
#include "exact/word_gcd.hpp"

namespace brevant {

namespace detail {

using Int128 = __int128;
using UInt128 = unsigned __int128;

inline UInt128 magnitude128(Int128 v) { return v < 0 ? 0 - static_cast<UInt128>(v) : static_cast<UInt128>(v); }

inline UInt128 gcd128(UInt128 a, UInt128 b) {
    while (b != 0) {
        const UInt128 r = a % b;
        a = b;
        b = r;
    }
    return a;
}

// The form in machine words, or nothing when a value is not inline, the lcm of the denominators
// passes 2^63, or a result does not fit a long. Every scaled numerator is below 2^63 · 2^63.
template <std::size_t N>
std::optional<std::array<long, N>> small_primitive_form(const std::array<const Rational*, N>& values) {
    std::uint64_t common = 1;
    for (const Rational* v : values) {
        if (!v->is_inline()) return std::nullopt;
        const auto d = static_cast<std::uint64_t>(v->inline_denominator());
        const UInt128 l = static_cast<UInt128>(common / word_gcd(common, d)) * d;
        if (l >> 63 != 0) return std::nullopt;
        common = static_cast<std::uint64_t>(l);
    }
    std::array<Int128, N> ints;
    UInt128 g = 0;
    for (std::size_t i = 0; i < N; ++i) {
        ints[i] = static_cast<Int128>(values[i]->inline_numerator()) *
                  static_cast<Int128>(common / static_cast<std::uint64_t>(values[i]->inline_denominator()));
        g = gcd128(g, magnitude128(ints[i]));
    }
    std::array<long, N> result{};
    if (g == 0) return result;
    int sign = 0;
    for (const Int128 k : ints) {
        if (k != 0) {
            sign = k < 0 ? -1 : 1;
            break;
        }
    }
    for (std::size_t i = 0; i < N; ++i) {
        const Int128 k = sign * (ints[i] / static_cast<Int128>(g));
        if (k > std::numeric_limits<long>::max() || k < -std::numeric_limits<long>::max()) return std::nullopt;
        result[i] = static_cast<long>(k);
    }
    return result;
}

template <std::size_t N>
std::array<BigInt, N> big_primitive_form(const std::array<const Rational*, N>& values) {
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

}  // namespace detail

template <std::size_t N>
std::array<BigInt, N> primitive_integer_form(const std::array<const Rational*, N>& values) {
    if (std::optional<std::array<long, N>> small = detail::small_primitive_form<N>(values)) {
        std::array<BigInt, N> ints;
        for (std::size_t i = 0; i < N; ++i) ints[i] = BigInt((*small)[i]);
        return ints;
    }
    return detail::big_primitive_form<N>(values);
}

}  // namespace brevant
