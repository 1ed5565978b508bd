// The double filter of orient2 against the exact sign, at every scale the doubles reach and beyond,
// and where its determinant overflows while the squared magnitude does not.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "arrangement/convexity.hpp"
#include "arrangement/orientation.hpp"
#include "../scaled_numbers.hpp"

namespace brevant {
namespace {

int filtered(const Point2& a, const Point2& b, const Point2& c) {
    return orient_sign(a, b, c, shadow(a), shadow(b), shadow(c));
}

Point2 along(const Point2& a, const Point2& b, const Rational& t) {
    return {a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1])};
}

class OrientationAtScale : public ::testing::TestWithParam<int> {};

// Points on a segment (at eighths of it) and just off it, in every order of the three.
TEST_P(OrientationAtScale, AgreesWithTheExactSign) {
    const int e = GetParam();
    const Rational unit = power_of_two(e), nudge = power_of_two(e - 60);
    std::mt19937_64 rng(static_cast<unsigned>(e + 3000));
    std::uniform_int_distribution<long> small(-7, 7), eighth(-4, 12);
    for (int trial = 0; trial < 300; ++trial) {
        const Point2 a{unit * Rational(small(rng)), unit * Rational(small(rng))};
        const Point2 b{unit * Rational(small(rng)), unit * Rational(small(rng))};
        const Point2 on = along(a, b, Rational(eighth(rng)) / Rational(8));
        const Point2 off{on[0], on[1] + nudge * Rational(small(rng))};
        for (const Point2& c : {on, off}) {
            EXPECT_EQ(filtered(a, b, c), orient2(a, b, c).sign()) << "scale 2^" << e;
            EXPECT_EQ(filtered(c, a, b), orient2(c, a, b).sign()) << "scale 2^" << e;
            EXPECT_EQ(filtered(b, c, a), orient2(b, c, a).sign()) << "scale 2^" << e;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, OrientationAtScale,
                         ::testing::Values(-1100, -1074, -1000, -540, -500, 0, 60, 500, 509, 510, 511, 512, 1000, 1100));

// Ends just below 2^512 on either side of the origin, so that the differences near 2^513, and a
// point of the segment placed where the products of the determinant straddle the largest double:
// one rounds to infinity, the other not, and only the exact test may answer.
TEST(Orientation, AnOverflowingDeterminantProvesNothing) {
    std::mt19937_64 rng(11);
    std::uniform_int_distribution<long> mantissa((1L << 53) - (1L << 30), (1L << 53) - 1), offset(-64, 64);
    int overflowed = 0;
    for (int trial = 0; trial < 400; ++trial) {
        const double ax = -std::ldexp(double(mantissa(rng)), 459), ay = -std::ldexp(double(mantissa(rng)), 459);
        const double bx = std::ldexp(double(mantissa(rng)), 459), by = std::ldexp(double(mantissa(rng)), 459);
        const Point2 a{exact(ax), exact(ay)}, b{exact(bx), exact(by)};
        // (b − a)·t in each coordinate multiplies to 2^1024 at t0.
        const double t0 = (0x1p512 / (bx - ax)) * (0x1p512 / (by - ay));
        const Rational t = exact(t0) + Rational(offset(rng)) * power_of_two(-62);
        const Point2 c = along(a, b, t);
        const FloatPoint fa = shadow(a), fb = shadow(b), fc = shadow(c);
        const double h = (fb[0] - fa[0]) * (fc[1] - fa[1]) - (fb[1] - fa[1]) * (fc[0] - fa[0]);
        overflowed += std::isinf(h);
        ASSERT_EQ(filtered(a, b, c), 0) << trial;
        // A loop running straight on through c stays convex, with c no corner of it.
        const Point2 apex{a[0], b[1]};
        std::vector<std::size_t> corners;
        EXPECT_EQ(convex_turn({a, c, b, apex}, &corners), orient2(a, b, apex).sign());
        EXPECT_EQ(corners.size(), 3u);
    }
    EXPECT_GT(overflowed, 40);  // the case under test does arise
}

}  // namespace
}  // namespace brevant
