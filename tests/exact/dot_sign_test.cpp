// The word-path sign of normal·p − offset against the same expression in plain Rational
// arithmetic, and the counter of tests that fall back.
#include <cctype>
#include <limits>
#include <random>
#include <string>
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

// Components drawn from a pool; zeros are frequent, as in axis-aligned normals.
std::vector<Rational> pool(const std::string& kind) {
    std::vector<Rational> values{Rational(0), Rational(0), Rational(1), Rational(-1), Rational(2), Rational(BigInt(1), BigInt(3)),
                                 Rational(BigInt(-7), BigInt(100))};
    if (kind == "small") {
        for (long n = -12; n <= 12; n += 5) {
            for (long d : {1L, 2L, 6L, 97L}) values.emplace_back(BigInt(n), BigInt(d));
        }
    } else if (kind == "wide") {
        for (int k : {31, 40, 52, 61, 62}) {
            values.push_back(two_to(k) + Rational(1));
            values.push_back(Rational(1) / (two_to(k) - Rational(1)));
            values.push_back(-(two_to(k) / Rational(3)));
        }
        values.emplace_back(kMax);
        values.emplace_back(BigInt(1), BigInt(kMax));
    } else {
        for (int k : {63, 64, 80, 130}) {
            values.push_back(two_to(k) - Rational(1));
            values.push_back(Rational(1) / two_to(k));
        }
    }
    return values;
}

int plain_sign(const Vec3& n, const Vec3& p, const Rational& offset) { return (dot(n, p) - offset).sign(); }

class DotSignVersusRational : public ::testing::TestWithParam<const char*> {};

// Random offsets, offsets that put the point exactly on the plane, and offsets a hair off it.
TEST_P(DotSignVersusRational, AgreesOnRandomAndOnPlanePoints) {
    const std::vector<Rational> values = pool(GetParam());
    std::mt19937_64 rng(5);
    std::uniform_int_distribution<std::size_t> pick(0, values.size() - 1);
    std::uniform_int_distribution<int> kind(0, 2);
    for (int trial = 0; trial < 3000; ++trial) {
        const Vec3 n{values[pick(rng)], values[pick(rng)], values[pick(rng)]};
        const Vec3 p{values[pick(rng)], values[pick(rng)], values[pick(rng)]};
        Rational offset = values[pick(rng)];
        const int k = kind(rng);
        if (k == 1) offset = dot(n, p);
        if (k == 2) offset = dot(n, p) + values[pick(rng)] / two_to(70);
        EXPECT_EQ(dot_minus_sign(n, p, offset), plain_sign(n, p, offset))
            << n[0].str() << " " << n[1].str() << " " << n[2].str() << " . " << p[0].str() << " " << p[1].str() << " "
            << p[2].str() << " - " << offset.str();
    }
}

INSTANTIATE_TEST_SUITE_P(Pools, DotSignVersusRational, ::testing::Values("small", "wide", "heap"));

struct CountCase {
    const char* name;
    Vec3 normal;
    Vec3 point;
    Rational offset;
    int sign;
    bool falls_back;
};

class DotSignCounts : public ::testing::TestWithParam<CountCase> {};

TEST_P(DotSignCounts, SignAndWhetherItFellBack) {
    const CountCase& c = GetParam();
    reset_side_test_counts();
    EXPECT_EQ(dot_minus_sign(c.normal, c.point, c.offset), c.sign);
    const SideTestCounts counts = side_test_counts();
    EXPECT_EQ(counts.total, 1U);
    EXPECT_EQ(counts.fallbacks, c.falls_back ? 1U : 0U);
}

const Rational kThird(BigInt(1), BigInt(3));

INSTANTIATE_TEST_SUITE_P(
    Cases, DotSignCounts,
    ::testing::Values(
        CountCase{"on an axis plane", {0, 0, 1}, {5, -3, 2}, Rational(2), 0, false},
        CountCase{"just below a rational plane", {kThird, 0, 0}, {Rational(BigInt(8), BigInt(3)), 0, 0},
                  Rational(BigInt(9), BigInt(10)), -1, false},
        CountCase{"zero normal", {0, 0, 0}, {1, 2, 3}, Rational(-1), 1, false},
        // 3·(2^63 − 1)^2 does not fit in a signed 128-bit sum.
        CountCase{"word inputs overflowing the sum", {kMax, kMax, kMax}, {kMax, kMax, kMax}, Rational(1), 1, true},
        // kMax·3·2^61 + kMax²/2 over the denominator 2: each scaled term fits, their sum does not.
        CountCase{"word inputs overflowing a scaled sum", {kMax, Rational(BigInt(kMax), BigInt(2)), 0},
                  {Rational(3L << 61), kMax, 0}, Rational(0), 1, true},
        CountCase{"opposite word products cancelling", {kMax, -kMax, 0}, {kMax, kMax, 0}, Rational(0), 0, false},
        CountCase{"heap offset", {1, 0, 0}, {1, 0, 0}, two_to(64), -1, true},
        CountCase{"heap coordinate", {1, 0, 0}, {two_to(64), 0, 0}, Rational(1), 1, true}),
    [](const ::testing::TestParamInfo<CountCase>& info) {
        std::string name = info.param.name;
        for (char& ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        }
        return name;
    });

TEST(PlaneSide, GoesThroughTheCountedSignAndKeepsItsMeaning) {
    const Plane plane = Plane::from_points({0, 0, 0}, {1, 0, 0}, {0, 1, 0});
    reset_side_test_counts();
    EXPECT_EQ(plane.side({0, 0, 5}), 1);
    EXPECT_EQ(plane.side({0, 0, -5}), -1);
    EXPECT_EQ(plane.side({7, kThird, 0}), 0);
    EXPECT_EQ(plane.flipped().side({0, 0, 5}), -1);
    EXPECT_EQ(side_test_counts().total, 4U);
    EXPECT_EQ(side_test_counts().fallbacks, 0U);
}

}  // namespace
}  // namespace brevant
