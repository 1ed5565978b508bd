// Square roots: exact for rational squares, otherwise within a relative 2^-62 of the root.
#include <gtest/gtest.h>

#include "exact/failure.hpp"
#include "exact/sqrt_approx.hpp"

namespace brevant {
namespace {

TEST(SqrtApprox, RationalSquaresAreExact) {
    const std::pair<const char*, const char*> rows[] = {
        {"0", "0"}, {"1", "1"}, {"25", "5"}, {"9/4", "3/2"}, {"1/10000", "1/100"},
        {"152415787532388367501905199875019052100", "12345678901234567890"},
    };
    for (const auto& [s, root] : rows) EXPECT_EQ(sqrt_approx(parse_r(s)), parse_r(root)) << s;
}

Rational two_to_minus(int bits) {
    BigInt power(1);
    for (int i = 0; i < bits; ++i) power = power * BigInt(2);
    return Rational(BigInt(1), power);
}

// (1 − 2^-62)·√s < r < (1 + 2^-62)·√s, checked exactly by squaring. The denominators stay near
// 2^31 (times s's own), so later arithmetic on them stays short.
TEST(SqrtApprox, IrrationalRootsAreWithinTheBound) {
    const char* rows[] = {"2", "3", "1/2", "2/3", "5", "1000000007", "7/1000000000000000000000000000000",
                          "340282366920938463463374607431768211457", "1/3", "99999999999999999999999"};
    const Rational e = two_to_minus(kSqrtApproxBits);
    for (const char* text : rows) {
        const Rational s = parse_r(text);
        const Rational r = sqrt_approx(s);
        const Rational ratio = r * r / s;  // (1 + relative error)²
        EXPECT_GT(ratio, (Rational(1) - e) * (Rational(1) - e)) << text;
        EXPECT_LT(ratio, (Rational(1) + e) * (Rational(1) + e)) << text;
        EXPECT_LT(r.denominator(), s.denominator() * BigInt(1L << 40)) << text;
    }
}

TEST(SqrtApprox, NegativeFails) { EXPECT_THROW(sqrt_approx(parse_r("-1/4")), InternalFailure); }

}  // namespace
}  // namespace brevant
