// The word-path sign of normal·p − offset against the same expression in plain Rational
// arithmetic, and the counter of tests that fall back.
#include <limits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "exact/dot_sign.hpp"
#include "exact/plane.hpp"
#include "exact/stats.hpp"

namespace brevant {
namespace {

Rational two_to(int k) {
    Rational r(1);
    for (int i = 0; i < k; ++i) r *= Rational(2);
    return r;
}

const long kMax = std::numeric_limits<long>::max();
const Rational kThird(BigInt(1), BigInt(3));

// Small values, word values near the inline limits and heap values; zeros are frequent, as in
// axis-aligned normals.
std::vector<Rational> pool() {
    std::vector<Rational> values{0, 0, 1, -1, 2, kThird, Rational(BigInt(-7), BigInt(100)), kMax,
                                 Rational(BigInt(1), BigInt(kMax))};
    for (long n = -12; n <= 12; n += 5) {
        for (long d : {1L, 2L, 6L, 97L}) values.emplace_back(BigInt(n), BigInt(d));
    }
    for (int k : {31, 40, 52, 61, 62}) {
        values.push_back(two_to(k) + Rational(1));
        values.push_back(Rational(1) / (two_to(k) - Rational(1)));
        values.push_back(-(two_to(k) / Rational(3)));
    }
    for (int k : {63, 64, 80, 130}) {
        values.push_back(two_to(k) - Rational(1));
        values.push_back(Rational(1) / two_to(k));
    }
    return values;
}

// Random offsets, offsets that put the point exactly on the plane, and offsets a hair off it.
TEST(DotSign, AgreesWithRationalArithmetic) {
    const std::vector<Rational> values = pool();
    std::mt19937_64 rng(5);
    std::uniform_int_distribution<std::size_t> pick(0, values.size() - 1);
    for (int trial = 0; trial < 9000; ++trial) {
        const Vec3 n{values[pick(rng)], values[pick(rng)], values[pick(rng)]};
        const Vec3 p{values[pick(rng)], values[pick(rng)], values[pick(rng)]};
        Rational offset = values[pick(rng)];
        if (trial % 3 == 1) offset = dot(n, p);
        if (trial % 3 == 2) offset = dot(n, p) + values[pick(rng)] / two_to(70);
        ASSERT_EQ(dot_minus_sign(n, p, offset), (dot(n, p) - offset).sign())
            << n[0].str() << " " << n[1].str() << " " << n[2].str() << " . " << p[0].str() << " " << p[1].str() << " "
            << p[2].str() << " - " << offset.str();
    }
}

struct CountCase {
    const char* name;
    Vec3 normal;
    Vec3 point;
    Rational offset;
    int sign;
    bool falls_back;
};

TEST(DotSign, SignAndWhetherItFellBack) {
    const CountCase cases[] = {
        {"on an axis plane", {0, 0, 1}, {5, -3, 2}, Rational(2), 0, false},
        {"just below a rational plane", {kThird, 0, 0}, {Rational(BigInt(8), BigInt(3)), 0, 0},
         Rational(BigInt(9), BigInt(10)), -1, false},
        {"zero normal", {0, 0, 0}, {1, 2, 3}, Rational(-1), 1, false},
        // 3·(2^63 − 1)^2 does not fit in a signed 128-bit sum.
        {"word inputs overflowing the sum", {kMax, kMax, kMax}, {kMax, kMax, kMax}, Rational(1), 1, true},
        // kMax·3·2^61 + kMax²/2 over the denominator 2: each scaled term fits, their sum does not.
        {"word inputs overflowing a scaled sum", {kMax, Rational(BigInt(kMax), BigInt(2)), 0},
         {Rational(3L << 61), kMax, 0}, Rational(0), 1, true},
        {"opposite word products cancelling", {kMax, -kMax, 0}, {kMax, kMax, 0}, Rational(0), 0, false},
        {"heap offset", {1, 0, 0}, {1, 0, 0}, two_to(64), -1, true},
        {"heap coordinate", {1, 0, 0}, {two_to(64), 0, 0}, Rational(1), 1, true},
    };
    for (const CountCase& c : cases) {
        reset_side_test_counts();
        EXPECT_EQ(dot_minus_sign(c.normal, c.point, c.offset), c.sign) << c.name;
        EXPECT_EQ(side_test_counts().total, 1U) << c.name;
        EXPECT_EQ(side_test_counts().fallbacks, c.falls_back ? 1U : 0U) << c.name;
    }
}

TEST(DotSign, PlaneSideGoesThroughTheCountedSign) {
    const Plane plane = Plane::from_points({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    reset_side_test_counts();
    EXPECT_EQ(plane.side({0, 0, 5}), 1);
    EXPECT_EQ(plane.side({7, kThird, 0}), 0);
    EXPECT_EQ(plane.flipped().side({0, 0, 5}), -1);
    EXPECT_EQ(side_test_counts().total, 3U);
    EXPECT_EQ(side_test_counts().fallbacks, 0U);
}

}  // namespace
}  // namespace brevant
