// The filtered triple product against the exact one, on near-degenerate and extreme inputs.
#include <gtest/gtest.h>

#include <random>

#include "chamfer/triple_sign.hpp"

namespace brevant {
namespace {

int exact_sign(const Vec3& a, const Vec3& b, const Vec3& h, const Vec3& l) { return dot(a, cross(b, sub(h, l))).sign(); }

Rational power_of_two(int k) {
    Rational p(1);
    const Rational step = k < 0 ? Rational(1, 2) : Rational(2);
    for (int i = 0; i < std::abs(k); ++i) p *= step;
    return p;
}

Vec3 scaled(const Vec3& v, const Rational& s) { return smul(s, v); }

int filtered(const Vec3& a, const Vec3& b, const Vec3& h, const Vec3& l) {
    return triple_sign(a, shadow_of(a), b, shadow_of(b), h, shadow_of(h), l, shadow_of(l));
}

TEST(TripleSign, AgreesWithTheExactSignNearDegeneracyAtEveryScale) {
    std::mt19937 rng(2024);
    std::uniform_int_distribution<long> small(-50, 50);
    const auto random_vec = [&] { return Vec3{Rational(small(rng)), Rational(small(rng)), Rational(small(rng))}; };
    for (const int k : {-1100, -1074, -1000, -500, 0, 340, 341, 342, 500, 511, 512, 1000, 1100}) {
        const Rational s = power_of_two(k);
        for (int round = 0; round < 200; ++round) {
            const Vec3 a = random_vec(), b = random_vec(), l = random_vec();
            // h − l in the span of a and b, then nudged off it by a tiny multiple of a × b (or not).
            const Rational nudge(small(rng), 1000000007L * (round % 3 == 0 ? 1 : 1000000007L));
            const Vec3 in_plane = add(smul(Rational(small(rng), 7), a), smul(Rational(small(rng), 11), b));
            const Vec3 h = add(l, add(in_plane, smul(round % 5 == 0 ? Rational() : nudge, cross(a, b))));
            const Vec3 as = scaled(a, s), bs = scaled(b, s), hs = scaled(h, s), ls = scaled(l, s);
            EXPECT_EQ(filtered(as, bs, hs, ls), exact_sign(as, bs, hs, ls)) << k << " " << round;
        }
    }
}

TEST(TripleSign, ZeroExactlyWhenTheVectorsAreDependent) {
    const Vec3 a{Rational(1, 3), Rational(2), Rational(-5)};
    const Vec3 b{Rational(7), Rational(0), Rational(1, 9)};
    const Vec3 l{Rational(4), Rational(4), Rational(4)};
    EXPECT_EQ(filtered(a, b, add(l, add(a, smul(Rational(3), b))), l), 0);
    EXPECT_EQ(filtered(a, a, add(l, b), l), 0);
}

}  // namespace
}  // namespace brevant
