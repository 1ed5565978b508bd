// Rational rotations: the bounds on π and tan hold the true values, the simplest rational between
// two bounds is the one a search by denominators finds, turn matrices are exactly orthogonal, and
// rational turns are found exactly (tests/solid/test_rotations.py checks the angles of turns in
// decimal arithmetic). Affine maps: the cofactor matrix maps cross products.
#include <cmath>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "exact/affine.hpp"
#include "exact/rational_rotation.hpp"
#include "exact/trig_bounds.hpp"

namespace brevant {
namespace {

Rational R(const std::string& text) { return parse_r(text); }

BigInt power(long base, int exponent) {
    BigInt p(1);
    for (int i = 0; i < exponent; ++i) p = p * BigInt(base);
    return p;
}

// π to 100 decimals, truncated.
constexpr const char* kPiDigits =
    "31415926535897932384626433832795028841971693993751058209749445923078164062862089986280348253421170679";

TEST(TrigBounds, PiLiesInEveryEnclosureAndTheyNarrow) {
    const BigInt scale = power(10, 100);
    const Rational pi_below(BigInt::from_digits(kPiDigits), scale);
    const Rational pi_above = pi_below + Rational(BigInt(1), scale);
    for (unsigned long bits : {8UL, 30UL, 64UL, 200UL, 320UL}) {
        const Enclosure pi = pi_enclosure(bits);
        EXPECT_LE(pi.lo, pi_above) << bits;
        EXPECT_GE(pi.hi, pi_below) << bits;
        // Each term of the two series rounds by up to two ulps, and there are fewer than `bits` terms.
        EXPECT_LT(pi.hi - pi.lo, Rational(BigInt(64 * static_cast<long>(bits + 2)), power(2, static_cast<int>(bits))))
            << bits;
    }
}

// Bounds at two precisions both hold tan x, so they overlap; tan 2x = 2t/(1 − t²), rising in t on
// |t| < 1, so the bounds at 2x overlap the image of the bounds at x.
TEST(TrigBounds, TanEnclosuresAgreeAcrossPrecisionsAndTheDoubleAngle) {
    std::mt19937_64 rng(7);
    std::uniform_int_distribution<long> numerator(-749, 749);
    for (int i = 0; i < 200; ++i) {
        const Rational x(BigInt(numerator(rng)), BigInt(1000));  // |x| < 3/4, so |tan x| < 1
        const auto coarse = tan_enclosure(x, 40);
        const auto fine = tan_enclosure(x, 160);
        ASSERT_TRUE(coarse && fine);
        EXPECT_LE(fine->lo, fine->hi);
        EXPECT_LE(coarse->lo, fine->hi);
        EXPECT_LE(fine->lo, coarse->hi);
        EXPECT_LT(fine->hi - fine->lo, Rational(BigInt(1), power(2, 150)));
        const auto doubled = tan_enclosure(x + x, 160);
        ASSERT_TRUE(doubled);
        const auto twice = [](const Rational& t) { return (t + t) / (Rational(1) - t * t); };
        EXPECT_LE(doubled->lo, twice(fine->hi));
        EXPECT_LE(twice(fine->lo), doubled->hi);
        const auto mirrored = tan_enclosure(-x, 160);
        EXPECT_EQ(mirrored->lo, -fine->hi);
        EXPECT_EQ(mirrored->hi, -fine->lo);
        EXPECT_NEAR(fine->lo.to_double(), std::tan(x.to_double()), 1e-15);
    }
}

TEST(TrigBounds, TanNearAQuarterTurnNeedsPrecision) {
    const Rational just_below = pi_enclosure(200).lo / Rational(2);  // within 2^-190 of π/2
    EXPECT_FALSE(tan_enclosure(just_below, 40).has_value());
    const auto sharp = tan_enclosure(just_below, 400);
    ASSERT_TRUE(sharp.has_value());
    EXPECT_GT(sharp->lo, Rational(power(2, 150)));
}

TEST(TrigBounds, SquareRootsHoldTheRoot) {
    for (long m : {1L, 2L, 3L, 4L, 14L, 1000000L, 999999999999L}) {
        const Enclosure root = sqrt_enclosure(BigInt(m), 80);
        EXPECT_LE(root.lo * root.lo, Rational(m));
        EXPECT_GE(root.hi * root.hi, Rational(m));
        const bool square = std::sqrt(static_cast<double>(m)) == std::floor(std::sqrt(static_cast<double>(m)));
        EXPECT_EQ(root.lo == root.hi, square) << m;
    }
}

// The least denominator q with an integer in [lo·q, hi·q], then the integer of least magnitude.
Rational simplest_by_search(const Rational& lo, const Rational& hi) {
    for (long q = 1;; ++q) {
        const Rational a = lo * Rational(q);
        const Rational b = hi * Rational(q);
        const BigInt first = ceil_div(a.numerator(), a.denominator());
        const BigInt last = floor_div(b.numerator(), b.denominator());
        if (first > last) continue;
        if (first.sign() <= 0 && last.sign() >= 0) return Rational(0);
        return Rational(first.sign() > 0 ? first : last, BigInt(q));
    }
}

TEST(SimplestBetween, MatchesASearchByDenominators) {
    std::mt19937_64 rng(11);
    std::uniform_int_distribution<long> numerator(-400, 400);
    std::uniform_int_distribution<long> denominator(1, 60);
    for (int i = 0; i < 3000; ++i) {
        Rational lo(BigInt(numerator(rng)), BigInt(denominator(rng)));
        Rational hi(BigInt(numerator(rng)), BigInt(denominator(rng)));
        if (hi < lo) std::swap(lo, hi);
        EXPECT_EQ(simplest_between(lo, hi), simplest_by_search(lo, hi)) << lo.str() << " " << hi.str();
        EXPECT_EQ(simplest_between(-hi, -lo), -simplest_between(lo, hi));
    }
}

Matrix3 product(const Matrix3& a, const Matrix3& b) {
    const Matrix3 columns = transposed(b);
    Matrix3 p;
    for (std::size_t i = 0; i < 3; ++i) p[i] = times(columns, a[i]);
    return p;
}

const Matrix3 kIdentity{Vec3{1, 0, 0}, Vec3{0, 1, 0}, Vec3{0, 0, 1}};

TEST(TurnMatrix, IsExactlyARotationAboutTheDirection) {
    std::mt19937_64 rng(3);
    std::uniform_int_distribution<long> small(-9, 9);
    for (int i = 0; i < 300; ++i) {
        const IntegerDirection d{BigInt(small(rng)), BigInt(small(rng)), BigInt(small(rng) * 1000003)};
        const AxisTurn turn{BigInt(std::abs(small(rng))), BigInt(small(rng) * 7919)};
        if ((d[0].sign() == 0 && d[1].sign() == 0 && d[2].sign() == 0) || (turn.a.sign() == 0 && turn.b.sign() == 0)) {
            continue;
        }
        const Matrix3 r = turn_matrix(d, turn);
        EXPECT_EQ(product(transposed(r), r), kIdentity);
        EXPECT_EQ(determinant(r), Rational(1));
        const Vec3 axis{Rational(d[0]), Rational(d[1]), Rational(d[2])};
        EXPECT_EQ(times(r, axis), axis);
        EXPECT_EQ(product(r, turn_matrix(d, {turn.a, -turn.b})), kIdentity);
    }
}

TEST(TurnNear, MeetsExactTurnsExactly) {
    const IntegerDirection z{BigInt(0), BigInt(0), BigInt(5)};
    const IntegerDirection diagonal{BigInt(1), BigInt(1), BigInt(1)};
    const Rational tiny(BigInt(1), power(10, 40));
    const Matrix3 quarter{Vec3{0, -1, 0}, Vec3{1, 0, 0}, Vec3{0, 0, 1}};
    EXPECT_EQ(turn_matrix(z, turn_near(z, R("90"), tiny)), quarter);
    EXPECT_EQ(turn_matrix(z, turn_near(z, R("-270"), tiny)), quarter);
    EXPECT_EQ(turn_matrix(z, turn_near(z, R("0"), tiny)), kIdentity);
    EXPECT_EQ(turn_matrix(z, turn_near(z, R("720"), tiny)), kIdentity);
    const Matrix3 cycle{Vec3{0, 0, 1}, Vec3{1, 0, 0}, Vec3{0, 1, 0}};  // x -> y -> z -> x
    EXPECT_EQ(turn_matrix(diagonal, turn_near(diagonal, R("120"), tiny)), cycle);
    const Matrix3 half = turn_matrix(diagonal, turn_near(diagonal, R("180"), tiny));
    EXPECT_EQ(product(half, half), kIdentity);
    EXPECT_EQ(half, turn_matrix(diagonal, turn_near(diagonal, R("-180"), tiny)));
    // A tolerance of a quarter turn or more reaches the identity or the half turn.
    EXPECT_EQ(turn_matrix(z, turn_near(z, R("40"), R("2"))), kIdentity);
    EXPECT_EQ(turn_matrix(z, turn_near(z, R("150"), R("2"))),
              (Matrix3{Vec3{-1, 0, 0}, Vec3{0, -1, 0}, Vec3{0, 0, 1}}));
}

TEST(Affine, CofactorsMapCrossProductsAndTheDeterminantIsTheirScale) {
    std::mt19937_64 rng(13);
    std::uniform_int_distribution<long> entry(-5, 5);
    const auto random_vec = [&] {
        return Vec3{Rational(BigInt(entry(rng)), BigInt(1 + std::abs(entry(rng)))), Rational(entry(rng)), Rational(entry(rng))};
    };
    for (int i = 0; i < 300; ++i) {
        const Matrix3 a{random_vec(), random_vec(), random_vec()};
        const Vec3 u = random_vec();
        const Vec3 v = random_vec();
        EXPECT_EQ(cross(times(a, u), times(a, v)), times(cofactor(a), cross(u, v)));
        EXPECT_EQ(product(transposed(cofactor(a)), a), (Matrix3{Vec3{determinant(a), 0, 0}, Vec3{0, determinant(a), 0},
                                                                  Vec3{0, 0, determinant(a)}}));
    }
}

}  // namespace
}  // namespace brevant
