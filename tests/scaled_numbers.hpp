// Exact numbers at any binary scale, for tests of double filters near and beyond the double range.
#pragma once

#include <cmath>

#include "exact/rational.hpp"

namespace brevant {

// 2^e for any int e, by squaring.
inline Rational power_of_two(int e) {
    Rational result(1), square(2);
    for (unsigned n = static_cast<unsigned>(e < 0 ? -e : e); n != 0; n >>= 1) {
        if (n & 1) result = result * square;
        square = square * square;
    }
    return e < 0 ? Rational(1) / result : result;
}

// The exact value of a finite double.
inline Rational exact(double d) {
    int e = 0;
    const double m = std::frexp(d, &e);  // d = m·2^e, 0.5 <= |m| < 1
    return Rational(static_cast<long>(std::ldexp(m, 53))) * power_of_two(e - 53);
}

}  // namespace brevant
