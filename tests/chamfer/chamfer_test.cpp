#include <gtest/gtest.h>

#include <set>

#include "boolean/boolean.hpp"
#include "chamfer/chamfer.hpp"
#include "chamfer_shapes.hpp"
#include "exact/failure.hpp"
#include "solid/measures.hpp"
#include "solid/transforms.hpp"
#include "solid/watertight.hpp"

namespace brevant {
namespace {

using testing_shapes::pt;

std::string refusal_of(const Solid& s, const Rational& dist) {
    try {
        chamfer(s, dist);
    } catch (const Refusal& r) {
        return r.what();
    }
    return "no refusal";
}

TEST(Chamfer, UnitCubeLosesItsEdgesAndCorners) {
    const Solid result = chamfer(Solid::cube(1, 1, 1, "p"), Rational(1, 10));
    EXPECT_EQ(volume6(result), Rational(709, 125));
    EXPECT_TRUE(watertight_ok(result));
    // 6 face planes, 12 bevels, 8 corner facets.
    EXPECT_EQ(logical_face_count(result), 26u);

    // At the corner (1,1,1) the facet is the triangle x + y + z = 14/5 between the three bevels,
    // seen from outside.
    const Rational n(9, 10);
    const std::set<Vec3> corner_facet{pt(1, n, n), pt(n, 1, n), pt(n, n, 1)};
    std::set<Vec3> found;
    for (const Polygon& p : result.polygons) {
        if (p.plane.canonical() != PlaneKey{5, 5, 5, 14}) continue;
        EXPECT_GT(p.plane.normal[0], Rational(0));
        found.insert(p.vertices.begin(), p.vertices.end());
    }
    EXPECT_EQ(found, corner_facet);
}

TEST(Chamfer, ZeroDistanceReturnsTheInputPolygons) {
    const Solid box = Solid::cube(2, 1, Rational(1, 3), "p");
    const Solid result = chamfer(box, Rational(0));
    ASSERT_EQ(result.polygons.size(), box.polygons.size());
    for (std::size_t i = 0; i < box.polygons.size(); ++i) {
        EXPECT_EQ(result.polygons[i].vertices, box.polygons[i].vertices);
        EXPECT_EQ(result.polygons[i].label, box.polygons[i].label);
    }
}

TEST(Chamfer, LongEdgesAreBevelledOverTheirWholeLength) {
    const Solid result = chamfer(Solid::cube(10, 1, 1, "p"), Rational(1, 10));
    EXPECT_EQ(volume6(result), Rational(7324, 125));
    EXPECT_TRUE(watertight_ok(result));
}

TEST(Chamfer, FragmentedConvexSolidChamfersLikeOneBox) {
    const Solid two_cubes =
        boolean_impl("union", Solid::cube(1, 1, 1, "a"), translated(Solid::cube(1, 1, 1, "b"), pt(1, 0, 0)));
    const Solid result = chamfer(two_cubes, Rational(1, 10));
    EXPECT_EQ(volume6(result), Rational(1444, 125));
    EXPECT_TRUE(watertight_ok(result));
}

struct RefusalCase {
    const char* name;
    Solid (*build)();
    Rational dist;
    const char* message;
};

class ChamferRefuses : public testing::TestWithParam<RefusalCase> {};

TEST_P(ChamferRefuses, WithItsReason) {
    EXPECT_EQ(refusal_of(GetParam().build(), GetParam().dist), GetParam().message);
}

Solid unit_cube() { return Solid::cube(1, 1, 1, "p"); }
Solid l_shape() {
    return boolean_impl("union", Solid::cube(2, 1, 1, "a"), Solid::cube(1, 2, 1, "b"));
}
Solid cubes_apart() {
    return boolean_impl("union", unit_cube(), translated(Solid::cube(1, 1, 1, "b"), pt(3, 0, 0)));
}

const RefusalCase kRefusals[] = {
    {"negative", unit_cube, Rational(-1, 10), "chamfer: the distance is negative"},
    {"negative_before_convexity", l_shape, Rational(-1, 10), "chamfer: the distance is negative"},
    {"half_the_cube", unit_cube, Rational(1, 2), "chamfer: the distance is too large for this solid"},
    {"twice_the_cube", unit_cube, Rational(2), "chamfer: the distance is too large for this solid"},
    {"l_shape", l_shape, Rational(1, 10), "chamfer: the solid is not convex"},
    {"separate_pieces", cubes_apart, Rational(1, 10), "chamfer: the solid is not convex"},
    {"inward_cube", [] { return unit_cube().flipped(); }, Rational(1, 10), "chamfer: the solid is not convex"},
    {"slanted_face", testing_shapes::right_triangle_prism, Rational(1, 10), "chamfer: non-rational face normal (K2)"},
    {"slanted_face_at_zero", testing_shapes::right_triangle_prism, Rational(0),
     "chamfer: non-rational face normal (K2)"},
};

INSTANTIATE_TEST_SUITE_P(Inputs, ChamferRefuses, testing::ValuesIn(kRefusals),
                         [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

TEST(Chamfer, ConcaveSolidAtZeroDistanceIsReturnedAsItIs) {
    const Solid l = l_shape();
    EXPECT_EQ(canonical_text(chamfer(l, Rational(0))), canonical_text(l));
}

TEST(Chamfer, SolidWithoutPolygonsIsAnInternalFailure) {
    EXPECT_THROW(chamfer(Solid{}, Rational(1, 10)), InternalFailure);
    EXPECT_THROW(chamfer(Solid{}, Rational(0)), InternalFailure);
}

}  // namespace
}  // namespace brevant
