// The double filters of polygon area and volume sign against their exact answers at every binary
// scale: subnormal, near the overflow of squares (2^512) and of triple products (2^341), and
// beyond the double range, where the shadows are infinite.
#include <gtest/gtest.h>

#include <random>

#include "../scaled_numbers.hpp"
#include "solid/measures.hpp"

namespace brevant {
namespace {

class FloatFiltersAtScale : public ::testing::TestWithParam<int> {};

// Triangles with one corner at a rational point of the other two's segment (exactly no area), and
// the same bent off that segment by 2^-60 of the scale.
TEST_P(FloatFiltersAtScale, AreaAgreesWithTheExactArea) {
    const int e = GetParam();
    const Rational unit = power_of_two(e), bend = power_of_two(e - 60);
    std::mt19937_64 rng(static_cast<unsigned>(e + 7000));
    std::uniform_int_distribution<long> small(-9, 9), part(1, 96);
    auto point = [&] { return Vec3{unit * Rational(small(rng)), unit * Rational(small(rng)), unit * Rational(small(rng))}; };
    for (int trial = 0; trial < 200; ++trial) {
        const Vec3 a = point(), b = point();
        const Vec3 on = add(a, smul(Rational(part(rng)) / Rational(97), sub(b, a)));
        const Vec3 off = add(on, {bend * Rational(small(rng)), bend * Rational(small(rng)), bend});
        for (const std::vector<Vec3>& loop : {std::vector<Vec3>{a, on, b}, {a, off, b}, {on, b, a, off}}) {
            const bool exact_area = !Polygon::area2(loop).is_zero();
            EXPECT_EQ(Polygon::has_area(loop, to_float_vertices(loop)), exact_area) << "scale 2^" << e;
        }
    }
}

// Boxes of small integer sides placed at small integer offsets, all times 2^e, either way out.
TEST_P(FloatFiltersAtScale, VolumeSignAgreesWithTheExactVolume) {
    const int e = GetParam();
    const Rational unit = power_of_two(e);
    std::mt19937_64 rng(static_cast<unsigned>(e + 9000));
    std::uniform_int_distribution<long> side(-3, 3), shift(-9, 9);
    for (int trial = 0; trial < 60; ++trial) {
        const Solid box = Solid::cube(unit * Rational(side(rng)), unit * Rational(side(rng)), unit * Rational(side(rng)), "b");
        const Vec3 by{unit * Rational(shift(rng)), unit * Rational(shift(rng)), unit * Rational(shift(rng))};
        const Solid moved = box.mapped([&](const Vec3& v) { return add(v, by); }, [](const Vec3& n) { return n; });
        EXPECT_EQ(volume6_sign(moved), volume6(moved).sign()) << "scale 2^" << e;
        EXPECT_EQ(volume6_sign(moved.flipped()), volume6(moved.flipped()).sign()) << "scale 2^" << e;
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, FloatFiltersAtScale,
                         ::testing::Values(-1100, -1074, -1000, -540, -500, 0, 60, 340, 341, 500, 510, 511, 512, 1000, 1100));

}  // namespace
}  // namespace brevant
