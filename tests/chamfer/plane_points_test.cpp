// Exact tests among points of one plane: the orientation's comparisons for sides along an axis
// against the filtered determinant, a segment against a convex polygon's inside against clipping
// its parameter exactly, and a point against a polygon against the winding number.
#include <gtest/gtest.h>

#include <random>

#include "chamfer/plane_points.hpp"
#include "corefine/point_location.hpp"

namespace brevant {
namespace {

const PlaneFrame& frame_z() {
    static const PlaneFrame frame = PlaneFrame::of(Plane{{Rational(), Rational(), Rational(1)}, Rational()});
    return frame;
}

Points2 points(const std::vector<std::array<int, 2>>& xy) {
    std::vector<Vec3> v;
    for (const auto& [x, y] : xy) v.push_back({Rational(x, 2), Rational(y, 2), Rational()});
    return projected(v, frame_z());
}

// Coordinates on a small grid, so that points share coordinates and sides run along axes often.
std::array<int, 2> grid_point(std::mt19937& rng) {
    std::uniform_int_distribution<int> c(-4, 4);
    return {c(rng), c(rng)};
}

TEST(PlanePoints, OrientationAlongAxesMatchesTheDeterminant) {
    std::mt19937 rng(1);
    for (int round = 0; round < 3000; ++round) {
        const Points2 p = points({grid_point(rng), grid_point(rng), grid_point(rng)});
        EXPECT_EQ(orient(p, 0, 1, p, 2), orient2(p.exact[0], p.exact[1], p.exact[2]).sign());
    }
}

// Whether some t in [0, 1] has p + t(q − p) strictly inside every side of the convex polygon
// (turning counter-clockwise), by intersecting the parameter ranges exactly.
bool segment_meets_inside(const Point2& p, const Point2& q, const std::vector<Point2>& convex) {
    Rational lo(0), hi(1);
    bool lo_open = false, hi_open = false;
    for (std::size_t i = 0; i < convex.size(); ++i) {
        const Point2& a = convex[i];
        const Point2& b = convex[(i + 1) % convex.size()];
        const Rational at_p = orient2(a, b, p), slope = orient2(a, b, q) - at_p;  // at_p + t·slope > 0
        if (slope.is_zero()) {
            if (at_p.sign() <= 0) return false;
            continue;
        }
        const Rational t = -at_p / slope;
        if (slope.sign() > 0 && (t > lo || (t == lo && !lo_open))) {
            lo = t;
            lo_open = true;
        }
        if (slope.sign() < 0 && (t < hi || (t == hi && !hi_open))) {
            hi = t;
            hi_open = true;
        }
    }
    return lo < hi || (lo == hi && !lo_open && !hi_open);
}

TEST(PlanePoints, SegmentsMeetAConvexInsideExactlyWhenClippingLeavesSomething) {
    std::mt19937 rng(2);
    const std::vector<std::vector<std::array<int, 2>>> shapes{
        {{0, 0}, {4, 0}, {4, 2}, {0, 2}}, {{-2, -1}, {3, 0}, {0, 3}}, {{-3, 0}, {0, -3}, {3, 0}, {0, 3}}};
    int met = 0;
    for (int round = 0; round < 3000; ++round) {
        const Points2 convex = points(shapes[round % shapes.size()]);
        const Points2 ends = points({grid_point(rng), grid_point(rng)});
        if (ends.exact[0] == ends.exact[1]) continue;
        const bool expected = segment_meets_inside(ends.exact[0], ends.exact[1], convex.exact);
        met += expected ? 1 : 0;
        EXPECT_EQ(crosses_inside(ends, convex, 1), expected);
        // The same polygon run clockwise, told so.
        Points2 reversed{{convex.exact.rbegin(), convex.exact.rend()}, {convex.shadows.rbegin(), convex.shadows.rend()}};
        EXPECT_EQ(crosses_inside(ends, reversed, -1), expected);
    }
    EXPECT_GT(met, 300);
}

TEST(PlanePoints, PointsOnOrInAPolygonAreCovered) {
    std::mt19937 rng(3);
    // An L, a U (two arms) and a slanted quadrilateral.
    const std::vector<std::vector<std::array<int, 2>>> shapes{
        {{0, 0}, {4, 0}, {4, 1}, {1, 1}, {1, 3}, {0, 3}},
        {{-3, -3}, {3, -3}, {3, 3}, {1, 3}, {1, -1}, {-1, -1}, {-1, 3}, {-3, 3}},
        {{-4, -1}, {2, -3}, {4, 2}, {-1, 4}}};
    for (int round = 0; round < 3000; ++round) {
        const Points2 loop = points(shapes[round % shapes.size()]);
        const Points2 at = points({grid_point(rng)});
        const std::optional<int> winding = winding_number(loop.exact, at.exact[0]);
        EXPECT_EQ(covers(loop, at), !winding || *winding != 0);
    }
}

}  // namespace
}  // namespace brevant
