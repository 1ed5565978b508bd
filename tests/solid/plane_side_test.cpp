// The double filter of vertex sides against the exact test, at every scale the doubles reach and
// beyond: the filter may only ever answer what the exact sign is.
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "solid/plane_side.hpp"

namespace brevant {
namespace {

// m·2^e as an exact number, for |e| up to a few thousand (beyond the double range on purpose).
Rational scaled(long m, int e) {
    const Rational two(2);
    Rational p(1);
    for (int i = 0; i < (e < 0 ? -e : e); ++i) p = p * two;
    return e < 0 ? Rational(m) / p : Rational(m) * p;
}

class PlaneSideAtScale : public ::testing::TestWithParam<int> {};

TEST_P(PlaneSideAtScale, AgreesWithTheExactSide) {
    const int e = GetParam();
    std::mt19937_64 rng(static_cast<unsigned>(e + 5000));
    std::uniform_int_distribution<long> small(-5, 5);
    for (int trial = 0; trial < 300; ++trial) {
        const Vec3 a{scaled(small(rng), e), scaled(small(rng), e), scaled(small(rng), e)};
        const Vec3 b{scaled(small(rng), e), scaled(small(rng), e), scaled(small(rng), e)};
        const Vec3 c{scaled(small(rng), e), scaled(small(rng), e), scaled(small(rng), e)};
        const Plane plane = Plane::from_points(a, b, c);
        // Points on the plane (its defining points and their combinations) and just off it.
        const Vec3 on = add(a, sub(b, c));
        const Vec3 off{on[0], on[1], on[2] + scaled(small(rng), e - 60)};
        for (const Vec3& v : {a, b, c, on, off}) {
            EXPECT_EQ(vertex_side(plane, plane_f64(plane), to_float_vertex(v), v), plane.side(v)) << "scale 2^" << e;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, PlaneSideAtScale, ::testing::Values(-1100, -1000, -520, -500, 0, 60, 340, 500, 511, 512, 520, 1000, 1100));

}  // namespace
}  // namespace brevant
