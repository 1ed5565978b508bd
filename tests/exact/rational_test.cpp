// Rational arithmetic, and the conversion to the nearest double checked against values derived
// independently: IEEE division of representable operands (itself correctly rounded), and powers
// of two with std::ldexp / std::nextafter at the rounding boundaries.
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "exact/failure.hpp"
#include "exact/rational.hpp"

namespace brevant {
namespace {

Rational R(const char* text) { return parse_r(text); }

Rational pow2(int k) {
    Rational r(1);
    const Rational step = k >= 0 ? Rational(2) : R("1/2");
    for (int i = 0; i < std::abs(k); ++i) r *= step;
    return r;
}

Rational from_u64(std::uint64_t v) { return parse_r(std::to_string(v)); }

TEST(RationalArithmetic, ResultsAreReducedWithSignOnNumerator) {
    EXPECT_EQ((R("1/2") + R("1/3")).str(), "5/6");
    EXPECT_EQ((R("1/2") - R("1/2")).str(), "0/1");
    EXPECT_EQ((R("1/6") - R("1/2")).str(), "-1/3");
    EXPECT_EQ((R("-2/3") * R("3/4")).str(), "-1/2");
    EXPECT_EQ((R("1/2") / R("-1/4")).str(), "-2/1");
    EXPECT_EQ((-R("0")).str(), "0/1");
    EXPECT_EQ((-R("3/4")).str(), "-3/4");
    EXPECT_EQ(R("-3/4").abs().str(), "3/4");
    Rational acc;
    for (int i = 1; i <= 4; ++i) acc += Rational(1) / Rational(i);
    EXPECT_EQ(acc.str(), "25/12");
    acc -= R("1/12");
    EXPECT_EQ(acc.str(), "2/1");
    EXPECT_EQ(Rational(BigInt(6), BigInt(-4)).str(), "-3/2");
}

TEST(RationalArithmetic, OrdersByValue) {
    EXPECT_LT(R("-1/2"), R("-1/3"));
    EXPECT_LT(R("1/3"), R("1/2"));
    EXPECT_EQ(R("2/4"), R("1/2"));
    EXPECT_EQ(R("-3").sign(), -1);
    EXPECT_EQ(R("-0").sign(), 0);
    EXPECT_TRUE(R("0/7").is_zero());
}

TEST(RationalArithmetic, DivisionByZeroFails) {
    try {
        (void)(R("1") / R("0/3"));
        FAIL();
    } catch (const InternalFailure& failure) {
        EXPECT_STREQ(failure.what(), "division by zero");
    }
    EXPECT_THROW((void)(R("0") / R("0")), InternalFailure);
    try {
        Rational(BigInt(1), BigInt(0));
        FAIL();
    } catch (const InternalFailure& failure) {
        EXPECT_STREQ(failure.what(), "denominator == 0");
    }
}

TEST(RationalToDouble, MatchesCorrectlyRoundedDivisionOfRepresentableOperands) {
    std::mt19937_64 random(20240611);
    for (int i = 0; i < 20000; ++i) {
        const int bits_a = 1 + static_cast<int>(random() % 53);
        const int bits_b = 1 + static_cast<int>(random() % 53);
        const std::uint64_t a = random() >> (64 - bits_a);
        const std::uint64_t b = (random() >> (64 - bits_b)) | 1;
        const double expected = static_cast<double>(a) / static_cast<double>(b);
        const Rational q = from_u64(a) / from_u64(b);
        ASSERT_EQ(q.to_double(), expected) << a << "/" << b;
        ASSERT_EQ((-q).to_double(), -expected) << a << "/" << b;
        // Scaling by a power of two within the normal range moves the rounding point exactly.
        const int k = static_cast<int>(random() % 1800) - 900;
        ASSERT_EQ((q * pow2(k)).to_double(), std::ldexp(expected, k)) << a << "/" << b << " * 2^" << k;
    }
}

TEST(RationalToDouble, SimpleValues) {
    EXPECT_EQ(R("1/3").to_double(), 1.0 / 3.0);
    EXPECT_EQ(R("-7/2").to_double(), -3.5);
    EXPECT_EQ(R("0").to_double(), 0.0);
    EXPECT_FALSE(std::signbit(R("0").to_double()));
    EXPECT_EQ(R("1/10").to_double(), 0.1);
}

struct Boundary {
    const char* name;
    Rational value;
    double expected;
};

// The values sit exactly on, or a hair beside, the midpoint between two neighbouring doubles.
std::vector<Boundary> boundaries() {
    const double inf = std::numeric_limits<double>::infinity();
    const double max = std::numeric_limits<double>::max();  // (2^53 − 1)·2^971
    const double tiny = std::numeric_limits<double>::denorm_min();  // 2^-1074
    const double min_normal = std::numeric_limits<double>::min();  // 2^-1022
    const Rational hair = pow2(-1200);
    const Rational max_exact = (pow2(53) - Rational(1)) * pow2(971);
    const Rational max_half_ulp = pow2(970);
    return {
        {"2^53+1 ties down to even", pow2(53) + Rational(1), std::ldexp(1.0, 53)},
        {"2^53+3 ties up to even", pow2(53) + Rational(3), std::ldexp(1.0, 53) + 4.0},
        {"1+2^-53 ties to 1", Rational(1) + pow2(-53), 1.0},
        {"1+2^-53 and a hair rounds up", Rational(1) + pow2(-53) + hair, std::nextafter(1.0, 2.0)},
        {"1+3*2^-53 ties up to even", Rational(1) + Rational(3) * pow2(-53), 1.0 + std::ldexp(1.0, -51)},
        {"1-2^-54 ties to 1", Rational(1) - pow2(-54), 1.0},
        {"1-2^-54 less a hair rounds down", Rational(1) - pow2(-54) - hair, std::nextafter(1.0, 0.0)},
        {"DBL_MAX", max_exact, max},
        {"DBL_MAX plus half ulp ties to infinity", max_exact + max_half_ulp, inf},
        {"DBL_MAX plus half ulp less a hair", max_exact + max_half_ulp - hair, max},
        {"2^1024", pow2(1024), inf},
        {"-2^1024", -pow2(1024), -inf},
        {"10^400", parse_r("1" + std::string(400, '0')), inf},
        {"-10^400", parse_r("-1" + std::string(400, '0')), -inf},
        {"smallest subnormal", pow2(-1074), tiny},
        {"half the smallest subnormal ties to zero", pow2(-1075), 0.0},
        {"half the smallest subnormal and a hair", pow2(-1075) + hair, tiny},
        {"three halves of the smallest subnormal ties up", Rational(3) * pow2(-1075), 2 * tiny},
        {"five halves of the smallest subnormal ties down", Rational(5) * pow2(-1075), 2 * tiny},
        {"largest subnormal", (pow2(52) - Rational(1)) * pow2(-1074), std::nextafter(min_normal, 0.0)},
        {"between largest subnormal and 2^-1022 ties up", (pow2(53) - Rational(1)) * pow2(-1075), min_normal},
        {"smallest normal", pow2(-1022), min_normal},
        {"1/10^400", parse_r("1/1" + std::string(400, '0')), 0.0},
        // 2^14/3 = 5461.33… units of the smallest subnormal.
        {"1/3 * 2^-1060", R("1/3") * pow2(-1060), 5461 * tiny},
    };
}

TEST(RationalToDouble, RoundsToNearestEvenAtTheEdgesOfTheRange) {
    for (const Boundary& b : boundaries()) {
        EXPECT_EQ(b.value.to_double(), b.expected) << b.name;
        EXPECT_EQ((-b.value).to_double(), -b.expected) << b.name;
    }
}

}  // namespace
}  // namespace brevant
