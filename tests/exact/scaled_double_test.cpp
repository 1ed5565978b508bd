// Doubles of exact values times a power of two, against the exact product converted the usual way,
// from far below the subnormal range to far beyond the largest double.
#include <gtest/gtest.h>

#include <random>

#include "../scaled_numbers.hpp"

namespace brevant {
namespace {

// A random fraction whose numerator and denominator have up to 160 bits each.
Rational random_fraction(std::mt19937_64& rng) {
    std::uniform_int_distribution<long> word(1, (1L << 53) - 1), words(1, 3), sign(0, 1);
    auto integer = [&] {
        Rational n(1);
        for (long k = words(rng); k > 0; --k) n = n * power_of_two(53) + Rational(word(rng));
        return n;
    };
    const Rational value = integer() / integer();
    return sign(rng) ? -value : value;
}

TEST(ScaledDouble, MatchesTheScaledValueConverted) {
    std::mt19937_64 rng(17);
    std::uniform_int_distribution<int> exponent(-1300, 1300);
    for (int trial = 0; trial < 3000; ++trial) {
        const Rational x = random_fraction(rng);
        const int e = exponent(rng);
        EXPECT_EQ(x.to_double_scaled(e), (x * power_of_two(e)).to_double()) << x.str() << " 2^" << e;
    }
    EXPECT_EQ(Rational().to_double_scaled(5000), 0.0);
}

TEST(ScaledDouble, MagnitudeExponentBracketsTheValue) {
    std::mt19937_64 rng(19);
    std::uniform_int_distribution<int> exponent(-2000, 2000);
    for (int trial = 0; trial < 2000; ++trial) {
        const Rational x = random_fraction(rng) * power_of_two(exponent(rng));
        const long e = x.magnitude_exponent();
        EXPECT_LE(power_of_two(static_cast<int>(e) - 1), x.abs()) << x.str();
        EXPECT_LT(x.abs(), power_of_two(static_cast<int>(e) + 1)) << x.str();
    }
}

}  // namespace
}  // namespace brevant
