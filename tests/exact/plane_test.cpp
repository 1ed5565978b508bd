// Planes through three points, the side test and the three normal forms.
#include <gtest/gtest.h>

#include "exact/failure.hpp"
#include "exact/plane.hpp"

namespace brevant {
namespace {

Vec3 V(const char* x, const char* y, const char* z) { return {parse_r(x), parse_r(y), parse_r(z)}; }
PlaneKey K(long a, long b, long c, long d) { return {BigInt(a), BigInt(b), BigInt(c), BigInt(d)}; }
Plane P(const Vec3& normal, const char* offset) { return {normal, parse_r(offset)}; }

TEST(PlaneFromPoints, NormalOffsetAndSide) {
    const Plane p = Plane::from_points(V("0", "0", "0"), V("1", "0", "0"), V("0", "1", "0"));
    EXPECT_EQ(p.normal, V("0", "0", "1"));
    EXPECT_EQ(p.offset, parse_r("0"));
    EXPECT_EQ(p.side(V("0", "0", "5")), 1);
    EXPECT_EQ(p.side(V("0", "0", "-5")), -1);
    EXPECT_EQ(p.side(V("7", "-3", "0")), 0);
    EXPECT_EQ(p.side(V("7", "-3", "1/1000000000000000000000000")), 1);
    const Plane shifted = Plane::from_points(V("0", "0", "3"), V("2", "0", "3"), V("0", "1", "3"));
    EXPECT_EQ(shifted.normal, V("0", "0", "2"));
    EXPECT_EQ(shifted.offset, parse_r("6"));
    EXPECT_EQ(shifted.flipped().normal, V("0", "0", "-2"));
    EXPECT_EQ(shifted.flipped().offset, parse_r("-6"));

    const Plane line = Plane::from_points(V("1", "1", "1"), V("2", "3", "4"), V("3", "5", "7"));
    EXPECT_EQ(line.normal, V("0", "0", "0"));
    EXPECT_EQ(line.side(V("9", "-4", "1/2")), 0);
    EXPECT_EQ(line.canonical(), K(0, 0, 0, 0));
    EXPECT_EQ(line.coplanar_key(), K(0, 0, 0, 0));
}

TEST(PlaneCanonical, IgnoresScaleAndOrientation) {
    const std::pair<Plane, PlaneKey> rows[] = {
        {P(V("0", "0", "-2"), "-6"), K(0, 0, 1, 3)},  {P(V("0", "0", "1/2"), "3/2"), K(0, 0, 1, 3)},
        {P(V("1/2", "1/3", "0"), "1"), K(3, 2, 0, 6)}, {P(V("-1/2", "-1/3", "0"), "-1"), K(3, 2, 0, 6)},
        {P(V("0", "-4", "6"), "0"), K(0, 2, -3, 0)},   {P(V("0", "0", "0"), "5"), K(0, 0, 0, 1)},
    };
    for (const auto& [plane, key] : rows) {
        EXPECT_EQ(plane.canonical(), key) << plane.offset.str();
        EXPECT_EQ(plane.flipped().canonical(), key) << plane.offset.str();
    }
    EXPECT_EQ(P(V("1/2", "1/3", "0"), "1").coplanar_key(), K(-3, -2, 0, -6));
    EXPECT_EQ(P(V("0", "0", "-2"), "-6").coplanar_key(), P(V("0", "0", "5"), "15").coplanar_key());
}

TEST(PlaneUnitNormal, AlongTheCanonicalDirectionWhenRational) {
    EXPECT_EQ(P(V("-3/2", "-2", "0"), "1").unit_normal(), V("3/5", "4/5", "0"));
    EXPECT_EQ(P(V("0", "0", "-7"), "1").unit_normal(), V("0", "0", "1"));
    EXPECT_EQ(P(V("2", "-1", "2"), "0").unit_normal(), V("2/3", "-1/3", "2/3"));
    EXPECT_FALSE(P(V("1", "1", "0"), "0").unit_normal().has_value());
    EXPECT_THROW(P(V("0", "0", "0"), "3").unit_normal(), InternalFailure);
}

}  // namespace
}  // namespace brevant
