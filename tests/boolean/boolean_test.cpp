#include "boolean/boolean.hpp"

#include <gtest/gtest.h>

#include <map>

#include "geometry_helpers.hpp"
#include "small_stack.hpp"
#include "solid/measures.hpp"
#include "solid/transforms.hpp"

namespace brevant {
namespace {

using testing::pt;

Solid box(long dx, long dy, long dz, const std::string& prefix, const Vec3& at) {
    return translated(Solid::cube(dx, dy, dz, prefix), at);
}

// Every result polygon keeps the orientation of the face it came from, except b's faces in a
// cut, which are reversed.
class BooleanOrientation : public ::testing::TestWithParam<const char*> {};

TEST_P(BooleanOrientation, FollowsTheSourceFace) {
    const std::string op = GetParam();
    const Solid a = box(2, 2, 2, "A", pt(0, 0, 0));
    const Solid b = box(2, 3, 1, "B", pt("1", "1/2", "1/3"));
    std::map<std::string, Vec3> source_normal;
    for (const Solid* s : {&a, &b}) {
        for (const Polygon& p : s->polygons) source_normal[p.label] = p.plane.normal;
    }
    const Solid r = boolean_impl(op, a, b);
    ASSERT_FALSE(r.polygons.empty());
    for (const Polygon& p : r.polygons) {
        const int expected = (op == "cut" && p.label.starts_with("B.")) ? -1 : 1;
        EXPECT_EQ(dot(p.plane.normal, source_normal.at(p.label)).sign(), expected) << op << " " << p.label;
    }
}

INSTANTIATE_TEST_SUITE_P(Ops, BooleanOrientation, ::testing::Values("union", "cut", "intersect"));

// A prism over a convex polygon with n corners on the parabola y = x², bottom and top first.
// Every side face lies behind every other face's plane, so its tree is a chain n + 2 deep.
Solid parabola_prism(long n, long height) {
    std::vector<Vec3> bottom, top;
    for (long i = n - 1; i >= 0; --i) bottom.push_back(pt(i, i * i, 0));
    for (long i = 0; i < n; ++i) top.push_back(pt(i, i * i, height));
    std::vector<Polygon> faces{Polygon::make(bottom, "P.bottom"), Polygon::make(top, "P.top")};
    for (long i = 0; i < n; ++i) {
        const long j = (i + 1) % n;
        faces.push_back(Polygon::make({pt(i, i * i, 0), pt(j, j * j, 0), pt(j, j * j, height), pt(i, i * i, height)},
                                      "P.side" + std::to_string(i)));
    }
    return Solid::make(std::move(faces));
}

TEST(Boolean, DeepTreesKeepTheVolumeIdentities) {
    constexpr long kCorners = 1000;
    const Solid prism = parabola_prism(kCorners, 4);
    std::vector<Point2> base;
    for (long i = 0; i < kCorners; ++i) base.push_back({Rational(i), Rational(i * i)});
    ASSERT_EQ(volume6(prism), Rational(6 * 4) * loop_area2(base) / Rational(2));

    // A box crossing twenty side faces on the parabola and the closing face along its chord.
    const Solid slab = box(20, kCorners * kCorners, 2, "B", pt(kCorners / 4, 100, 1));
    Rational u, c, i;
    testing::run_on_small_stack([&] {
        u = volume6(boolean_impl("union", prism, slab));
        c = volume6(boolean_impl("cut", prism, slab));
        i = volume6(boolean_impl("intersect", prism, slab));
    });
    EXPECT_GT(i.sign(), 0);
    EXPECT_LT(i, volume6(slab));
    EXPECT_EQ(u + i, volume6(prism) + volume6(slab));
    EXPECT_EQ(c, volume6(prism) - i);
}

}  // namespace
}  // namespace brevant
