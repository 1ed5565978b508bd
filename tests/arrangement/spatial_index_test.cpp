// The quadtree and the horizontal rays against brute force over every segment, at binary scales
// where shadows are subnormal, where two finite shadows lie further apart than the largest double,
// and beyond the double range where shadows are infinite; and on a long row of loops.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>

#include "../scaled_numbers.hpp"
#include "arrangement/ray_hit.hpp"
#include "arrangement/segment_tree.hpp"

namespace brevant {
namespace {

// Whether the closed segments ab and cd share a point.
bool segments_meet(const Point2& a, const Point2& b, const Point2& c, const Point2& d) {
    const int o1 = orient2(a, b, c).sign(), o2 = orient2(a, b, d).sign();
    const int o3 = orient2(c, d, a).sign(), o4 = orient2(c, d, b).sign();
    if (o1 == 0 && o2 == 0 && o3 == 0 && o4 == 0) {
        for (int axis = 0; axis < 2; ++axis) {
            if (std::max(a[axis], b[axis]) < std::min(c[axis], d[axis]) ||
                std::max(c[axis], d[axis]) < std::min(a[axis], b[axis])) {
                return false;
            }
        }
        return true;
    }
    return o1 * o2 <= 0 && o3 * o4 <= 0;
}

struct Layout {
    const char* name;
    int exponent;   // coordinates are small integers times 2^exponent …
    long spread;    // … between −spread and spread
};

// Every point a small integer multiple of one power of two, so that segments often meet, touch
// and overlap.
std::vector<Segment2> random_segments(std::mt19937_64& rng, const Layout& layout, int count) {
    const Rational unit = power_of_two(layout.exponent);
    std::uniform_int_distribution<long> coordinate(-layout.spread, layout.spread);
    auto point = [&] { return Point2{unit * Rational(coordinate(rng)), unit * Rational(coordinate(rng))}; };
    std::vector<Segment2> segments;
    while (static_cast<int>(segments.size()) < count) {
        Segment2 s{point(), point(), 0};
        if (s.from != s.to) segments.push_back(std::move(s));
    }
    return segments;
}

const Layout kLayouts[] = {
    {"unit", 0, 9},
    {"subnormal", -1074, 9},
    {"tiny", -1000, 9},
    {"near 2^512", 508, 9},
    {"span beyond the largest double", 1020, 7},
    {"beyond the double range", 1100, 9},
};

class SpatialIndexAtScale : public ::testing::TestWithParam<Layout> {};

// Two segments that meet share a leaf.
TEST_P(SpatialIndexAtScale, SegmentsThatMeetShareALeaf) {
    std::mt19937_64 rng(static_cast<unsigned>(GetParam().exponent + 2000));
    for (int trial = 0; trial < 8; ++trial) {
        const std::vector<Segment2> segments = random_segments(rng, GetParam(), 60);
        IndexFrame frame;
        for (const Segment2& s : segments) {
            frame.include(s.from, shadow(s.from));
            frame.include(s.to, shadow(s.to));
        }
        std::vector<std::array<FloatPoint, 2>> ends;
        for (const Segment2& s : segments) ends.push_back({frame(s.from, shadow(s.from)), frame(s.to, shadow(s.to))});
        const SegmentTree tree(ends);
        std::set<std::pair<int, int>> shared;
        for (const SegmentTree::Node& node : tree.nodes()) {
            EXPECT_TRUE(std::isfinite(node.square.x0) && std::isfinite(node.square.x1) && std::isfinite(node.square.y0) &&
                        std::isfinite(node.square.y1));
            for (int i = node.begin; i < node.end; ++i) {
                for (int j = node.begin; j < node.end; ++j) shared.insert({tree.members()[i], tree.members()[j]});
            }
        }
        for (std::size_t i = 0; i < segments.size(); ++i) {
            for (std::size_t j = i + 1; j < segments.size(); ++j) {
                if (!segments_meet(segments[i].from, segments[i].to, segments[j].from, segments[j].to)) continue;
                EXPECT_TRUE(shared.count({static_cast<int>(i), static_cast<int>(j)})) << GetParam().name;
            }
        }
    }
}

// The nearest point along y = origin.y strictly ahead of the origin on any edge, by brute force.
// An edge along the ray is met where the ray enters it: at its end nearer the origin.
std::optional<Rational> nearest_hit(const Arrangement& a, const Point2& origin, int dx) {
    std::optional<Rational> best;
    auto nearer = [&](const Rational& x, const Rational& than) { return dx < 0 ? than < x : x < than; };
    auto consider = [&](const Rational& x) {
        if (nearer(origin[0], x) && (!best || nearer(x, *best))) best = x;
    };
    for (int e = 0; e < a.edge_count(); ++e) {
        const Point2& p = a.points[a.origin[2 * e]];
        const Point2& q = a.points[a.origin[2 * e + 1]];
        const Rational& y = origin[1];
        if (p[1] == y && q[1] == y) {
            consider(nearer(p[0], q[0]) ? p[0] : q[0]);
        } else if (p[1] == y || q[1] == y) {
            consider(p[1] == y ? p[0] : q[0]);
        } else if ((p[1] < y) != (q[1] < y)) {
            consider(p[0] + (y - p[1]) * (q[0] - p[0]) / (q[1] - p[1]));
        }
    }
    return best;
}

bool inside_an_edge(const Arrangement& a, const Point2& p) {
    for (int e = 0; e < a.edge_count(); ++e) {
        const Point2& u = a.points[a.origin[2 * e]];
        const Point2& v = a.points[a.origin[2 * e + 1]];
        if (p != u && p != v && segments_meet(u, v, p, p)) return true;
    }
    return false;
}

void expect_rays_agree_with_brute_force(const Arrangement& a, const std::vector<Point2>& origins, const char* name) {
    std::vector<int> edges(a.edge_count());
    for (int e = 0; e < a.edge_count(); ++e) edges[e] = e;
    const HorizontalRays rays(a, edges);
    for (const Point2& origin : origins) {
        if (inside_an_edge(a, origin)) continue;
        for (int dx : {-1, 1}) {
            const std::optional<RayHit> hit = rays.first_hit(origin, dx);
            const std::optional<Rational> expected = nearest_hit(a, origin, dx);
            ASSERT_EQ(hit.has_value(), expected.has_value()) << name;
            if (!hit) continue;
            EXPECT_EQ(hit->point[0], *expected) << name;
            EXPECT_EQ(hit->point[1], origin[1]) << name;
        }
    }
}

TEST_P(SpatialIndexAtScale, RaysFindTheNearestHit) {
    std::mt19937_64 rng(static_cast<unsigned>(GetParam().exponent + 3000));
    const Rational unit = power_of_two(GetParam().exponent);
    std::uniform_int_distribution<long> coordinate(-GetParam().spread, GetParam().spread);
    for (int trial = 0; trial < 5; ++trial) {
        const Arrangement a = build_arrangement(random_segments(rng, GetParam(), 30));
        std::vector<Point2> origins(a.points.begin(), a.points.begin() + std::min<std::size_t>(a.points.size(), 40));
        for (int k = 0; k < 20; ++k) {
            // Half-integers as well, so that origins fall between vertices.
            origins.push_back({unit * Rational(coordinate(rng)) / Rational(2), unit * Rational(coordinate(rng)) / Rational(2)});
        }
        expect_rays_agree_with_brute_force(a, origins, GetParam().name);
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, SpatialIndexAtScale, ::testing::ValuesIn(kLayouts));

// Unit squares in one row, 2 apart, with a frame round them: rays from every vertex walk many
// leaves of one band, the case a bucketing by height alone makes quadratic.
TEST(HorizontalRays, ARowOfSquaresInAFrame) {
    std::vector<Segment2> segments;
    auto square = [&](long x0, long y0, long x1, long y1) {
        const Point2 p[4] = {{Rational(x0), Rational(y0)}, {Rational(x1), Rational(y0)}, {Rational(x1), Rational(y1)},
                             {Rational(x0), Rational(y1)}};
        for (int i = 0; i < 4; ++i) segments.push_back({p[i], p[(i + 1) % 4], 0});
    };
    constexpr long kSquares = 300;
    square(0, 0, 2 * kSquares + 1, 3);
    for (long i = 0; i < kSquares; ++i) square(2 * i + 1, 1, 2 * i + 2, 2);
    const Arrangement a = build_arrangement(segments);
    std::vector<Point2> origins = a.points;
    for (long i = 0; i <= 2 * kSquares + 1; ++i) origins.push_back({Rational(2 * i + 1) / Rational(2), Rational(3) / Rational(2)});
    expect_rays_agree_with_brute_force(a, origins, "row");
}

}  // namespace
}  // namespace brevant
