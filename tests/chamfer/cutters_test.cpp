#include <gtest/gtest.h>

#include <set>

#include "chamfer/corner_cutter.hpp"
#include "chamfer/edge_cutter.hpp"
#include "chamfer_shapes.hpp"
#include "solid/measures.hpp"

namespace brevant {
namespace {

using testing_shapes::pt;

std::vector<Edge> edges_of(const Solid& s) { return select_edges(logical_edges(s)); }

const Polygon& labelled(const Solid& s, const std::string& label) {
    for (const Polygon& p : s.polygons) {
        if (p.label == label) return p;
    }
    throw std::out_of_range(label);
}

// On a box edge, the bevel at distance d runs through the points set back d from the edge in
// both faces: with σ_j = +1 where the edge lies on the low face of axis j and −1 on the high face,
// it is Σ σ_j·x_j = d + Σ σ_j·c_j over the two axes j across the edge (c_j the edge's coordinate).
PlaneKey box_bevel(const Edge& e, const Vec3& box, const Rational& d) {
    Vec3 normal{Rational(0), Rational(0), Rational(0)};
    Rational offset = d;
    for (std::size_t j = 0; j < 3; ++j) {
        if (!e.dir[j].is_zero()) continue;
        const Rational sigma = e.point[j].is_zero() ? 1 : -1;
        normal[j] = sigma;
        offset += sigma * (e.point[j].is_zero() ? Rational(0) : box[j]);
    }
    return Plane{normal, offset}.canonical();
}

TEST(EdgeCutter, BevelsEveryBoxEdgeByTheDistance) {
    const Vec3 extents = pt(1, 2, Rational(3, 2));
    const Solid box = Solid::cube(extents[0], extents[1], extents[2], "p");
    const Rational d(1, 10);
    for (const Edge& e : edges_of(box)) {
        const std::optional<Solid> cutter = edge_cutter(e, d, reach(box));
        ASSERT_TRUE(cutter.has_value());
        EXPECT_GT(volume6(*cutter), Rational(0));
        EXPECT_EQ(labelled(*cutter, "chamfer.b").plane.canonical(), box_bevel(e, extents, d));
    }
}

// Where along its own line a cutter reaches: min and max of X·D over its vertices.
std::pair<Rational, Rational> span_along(const Solid& cutter, const Vec3& dir) {
    const auto [lo, hi] = bbox(cutter);
    std::size_t axis = 0;
    while (dir[axis].is_zero()) ++axis;
    return {lo[axis], hi[axis]};
}

TEST(EdgeCutter, ShortEdgesKeepTheCutterOfLengthReach) {
    // Reach 4, centred on the stored end (1,0,0) of the first edge: z from −2 to 2.
    const Solid box = Solid::cube(1, 1, 1, "p");
    const Edge e = edges_of(box)[0];
    EXPECT_EQ(span_along(*edge_cutter(e, Rational(1, 10), reach(box)), e.dir),
              std::make_pair(Rational(-2), Rational(2)));
}

TEST(EdgeCutter, LongEdgesAreCoveredPastBothEnds) {
    // Reach 13: a cutter of length 13 centred on the stored end x = 10 of the bottom front edge
    // would stop at x = 7/2. It grows instead to pass the far end x = 0 by 13/2.
    const Solid box = Solid::cube(10, 1, 1, "p");
    const std::vector<Edge> edges = edges_of(box);
    const Edge& bottom_front = edges[9];
    ASSERT_EQ(bottom_front.point, pt(10, 0, 0));
    EXPECT_EQ(span_along(*edge_cutter(bottom_front, Rational(1, 10), reach(box)), bottom_front.dir),
              std::make_pair(Rational(-13, 2), Rational(53, 2)));
    for (const Edge& e : edges) {
        const auto [lo, hi] = span_along(*edge_cutter(e, Rational(1, 10), reach(box)), e.dir);
        EXPECT_LT(lo, e.t_min);
        EXPECT_GT(hi, e.t_max);
    }
}

TEST(CornerCutter, FlattensTheBoxCornerToTheDiagonalFacet) {
    const std::vector<Solid> cutters = corner_cutters(edges_of(Solid::cube(1, 1, 1, "p")), Rational(1, 10));
    ASSERT_EQ(cutters.size(), 8u);
    for (const Solid& c : cutters) EXPECT_EQ(volume6(c), Rational(1, 2000));

    const Vec3 apex = pt(Rational(19, 20), Rational(19, 20), Rational(19, 20));
    const Solid* at_corner = nullptr;
    for (const Solid& c : cutters) {
        for (const Polygon& p : c.polygons) {
            if (std::find(p.vertices.begin(), p.vertices.end(), apex) != p.vertices.end()) at_corner = &c;
        }
    }
    ASSERT_NE(at_corner, nullptr);
    const Polygon& facet = labelled(*at_corner, "corner.a");
    const Rational n(9, 10);
    EXPECT_EQ(std::set<Vec3>(facet.vertices.begin(), facet.vertices.end()),
              (std::set<Vec3>{pt(1, n, n), pt(n, 1, n), pt(n, n, 1)}));
    EXPECT_EQ(facet.plane.canonical(), (PlaneKey{5, 5, 5, 14}));  // x + y + z = 14/5
}

TEST(CornerCutter, OnlyCornersOfThreeRationalEdgesAreCut) {
    const Rational d(1, 10);
    EXPECT_TRUE(corner_cutters(edges_of(Solid::cube(1, 1, 1, "p")), Rational(0)).empty());
    // The apex ends four edges; each base corner ends three, two of them of length 3.
    EXPECT_EQ(corner_cutters(edges_of(testing_shapes::square_pyramid()), d).size(), 4u);
    // Only the two corners away from the slanted face have edges of rational length.
    const std::vector<Solid> prism_corners = corner_cutters(edges_of(testing_shapes::right_triangle_prism()), d);
    ASSERT_EQ(prism_corners.size(), 2u);
    for (const Solid& c : prism_corners) EXPECT_EQ(volume6(c), Rational(1, 2000));
}

}  // namespace
}  // namespace brevant
