#include <gtest/gtest.h>

#include "solid/cap_triangulation.hpp"

namespace brevant {
namespace {

std::vector<Point2> loop_of(std::initializer_list<std::array<long, 2>> points) {
    std::vector<Point2> loop;
    for (const auto& [x, y] : points) loop.push_back({Rational(x), Rational(y)});
    return loop;
}

Triangle2 triangle_of(std::array<long, 2> a, std::array<long, 2> b, std::array<long, 2> c) {
    const std::vector<Point2> t = loop_of({a, b, c});
    return {t[0], t[1], t[2]};
}

Rational summed_area2(const std::vector<Triangle2>& triangles) {
    Rational sum;
    for (const Triangle2& t : triangles) sum += orient2(t[0], t[1], t[2]);
    return sum;
}

const std::vector<Point2> kUnitSquare = loop_of({{0, 0}, {1, 0}, {1, 1}, {0, 1}});
// A reflex vertex (1,1) lies on the diagonal of the ear at (0,0), and the notch it makes is on the
// far side of that diagonal, so cutting along it is right.
const std::vector<Point2> kArrow = loop_of({{0, 0}, {2, 0}, {1, 1}, {2, 2}, {0, 2}});
const std::vector<Point2> kStaircase =
    loop_of({{0, 0}, {4, 0}, {4, 1}, {3, 1}, {3, 2}, {2, 2}, {2, 3}, {1, 3}, {1, 4}, {0, 4}});
const std::vector<Point2> kH =
    loop_of({{0, 0}, {1, 0}, {1, 1}, {2, 1}, {2, 0}, {3, 0}, {3, 3}, {2, 3}, {2, 2}, {1, 2}, {1, 3}, {0, 3}});
const std::vector<Point2> kNotched = loop_of({{0, 0}, {4, 0}, {4, 2}, {3, 2}, {2, 1}, {1, 2}, {0, 2}});
const std::vector<Point2> kSpike = loop_of({{0, 0}, {2, 0}, {2, 2}, {1, 2}, {1, 3}, {1, 2}, {0, 2}});

TEST(Orient2, SignFollowsTurn) {
    const Point2 o{Rational(0), Rational(0)}, p{Rational(1), Rational(0)}, q{Rational(0), Rational(1)};
    EXPECT_EQ(orient2(o, p, q), Rational(1));
    EXPECT_EQ(orient2(o, q, p), Rational(-1));
    EXPECT_TRUE(orient2(o, p, Point2{Rational(5), Rational(0)}).is_zero());
}

TEST(EarClip, UnitSquareGivesTheTwoTrianglesInOrder) {
    const std::vector<Triangle2> expected{triangle_of({0, 1}, {0, 0}, {1, 0}), triangle_of({1, 0}, {1, 1}, {0, 1})};
    EXPECT_EQ(ear_clip(kUnitSquare), expected);
}

TEST(EarClip, ShortLoops) {
    EXPECT_TRUE(ear_clip({}).empty());
    EXPECT_TRUE(ear_clip(loop_of({{0, 0}, {1, 0}})).empty());
    // Three points give their triangle whatever its shape, collinear or clockwise.
    const std::vector<Triangle2> collinear{triangle_of({0, 0}, {1, 0}, {2, 0})};
    EXPECT_EQ(ear_clip(loop_of({{0, 0}, {1, 0}, {2, 0}})), collinear);
    const std::vector<Triangle2> clockwise{triangle_of({0, 0}, {0, 1}, {1, 0})};
    EXPECT_EQ(ear_clip(loop_of({{0, 0}, {0, 1}, {1, 0}})), clockwise);
}

TEST(EarClip, PointOnTheDiagonalBlocksOnlyUnderTheClosedRule) {
    EXPECT_EQ(clip_ears(kArrow, Blocking::OpenTriangle).triangles.front(), triangle_of({0, 2}, {0, 0}, {2, 0}));
    EXPECT_EQ(clip_ears(kArrow, Blocking::ClosedTriangle).triangles.front(), triangle_of({0, 0}, {2, 0}, {1, 1}));
}

TEST(EarClip, StopsWithTheRemainderWhenNoEarIsLeft) {
    const std::vector<Point2> clockwise(kUnitSquare.rbegin(), kUnitSquare.rend());
    for (Blocking blocking : {Blocking::OpenTriangle, Blocking::ClosedTriangle}) {
        const EarClipping clipping = clip_ears(clockwise, blocking);
        EXPECT_TRUE(clipping.triangles.empty());
        EXPECT_EQ(clipping.remainder, clockwise);
    }
    EXPECT_TRUE(clip_ears(kUnitSquare, Blocking::OpenTriangle).remainder.empty());
}

TEST(EdgesCancel, ByCoverageAlongEachLine) {
    EXPECT_TRUE(edges_cancel({}));
    EXPECT_TRUE(edges_cancel(loop_of({{0, 0}, {1, 0}, {2, 0}, {1, 0}})));
    EXPECT_TRUE(edges_cancel(loop_of({{0, 0}, {3, 3}, {1, 1}, {2, 2}})));
    EXPECT_TRUE(edges_cancel(loop_of({{1, 2}, {1, 3}, {1, 2}, {1, 2}})));
    EXPECT_FALSE(edges_cancel(kUnitSquare));
    // Zero signed area is not enough: the bow-tie's two halves cancel in area, not in edges.
    EXPECT_FALSE(edges_cancel(loop_of({{0, 0}, {2, 2}, {2, 0}, {0, 2}})));
}

TEST(InteriorsOverlap, TouchingIsAllowed) {
    const Triangle2 t = triangle_of({0, 0}, {2, 0}, {0, 2});
    EXPECT_FALSE(interiors_overlap(t, triangle_of({2, 0}, {2, 2}, {0, 2})));  // shared edge
    EXPECT_FALSE(interiors_overlap(t, triangle_of({2, 0}, {3, 0}, {3, 1})));  // shared corner
    EXPECT_FALSE(interiors_overlap(t, triangle_of({1, 1}, {3, 1}, {1, 3})));  // corner on an edge
    EXPECT_TRUE(interiors_overlap(t, t));
    EXPECT_TRUE(interiors_overlap(t, triangle_of({1, 0}, {3, 0}, {1, 2})));
    EXPECT_TRUE(interiors_overlap(t, triangle_of({-1, 1}, {1, -1}, {1, 1})));  // no corner inside the other
}

// Whether the caps tile their loops is checked on the prisms built from them; here, that the
// open-triangle clipping is kept exactly where it is right.
TEST(CapTriangulation, KeepsTheOpenRuleWhereItIsRight) {
    const struct {
        const char* name;
        const std::vector<Point2>& loop;
        bool open_rule_is_wrong;
    } cases[] = {{"square", kUnitSquare, false}, {"arrow", kArrow, false},    {"spike", kSpike, false},
                 {"staircase", kStaircase, true}, {"h", kH, true},           {"notched", kNotched, true}};
    for (const auto& c : cases) {
        const std::vector<Triangle2> triangles = triangulate_cap(c.loop).value();
        EXPECT_EQ(summed_area2(triangles), loop_area2(c.loop)) << c.name;
        EXPECT_EQ(triangles == ear_clip(c.loop), !c.open_rule_is_wrong) << c.name;
    }
}

}  // namespace
}  // namespace brevant
