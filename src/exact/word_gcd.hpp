// The gcd of two machine words by Stein's binary method: shifts and subtractions only, several
// times faster than Euclid's divisions on the small fractions every exact operation reduces.
#pragma once

#include <bit>
#include <cstdint>
#include <utility>

namespace brevant {

inline std::uint64_t word_gcd(std::uint64_t a, std::uint64_t b) {
    if (a == 0) return b;
    if (b == 0) return a;
    const int shift = std::countr_zero(a | b);  // the power of two both share
    a >>= std::countr_zero(a);
    do {
        // a odd; b's factors of two are not common, so they go.
        b >>= std::countr_zero(b);
        if (a > b) std::swap(a, b);
        b -= a;
    } while (b != 0);
    return a << shift;
}

}  // namespace brevant
