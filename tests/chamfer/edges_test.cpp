#include <gtest/gtest.h>

#include "chamfer/edges.hpp"
#include "chamfer_shapes.hpp"
#include "exact/failure.hpp"

namespace brevant {
namespace {

using testing_shapes::face;
using testing_shapes::pt;

std::vector<std::string> keys_of(const LineMap& lines) {
    std::vector<std::string> keys;
    for (const auto& [key, entry] : lines) keys.push_back(key);
    return keys;
}

TEST(LogicalEdges, BoxHasTwelveEdgesInByteOrderOfTheirKeys) {
    // z-parallel edges (x, y) have moment (y, −x, 0), y-parallel (x, z) have (−z, 0, x), and
    // x-parallel (y, z) have (0, z, −y); "-" sorts before the digits.
    const std::vector<std::string> expected{
        "0/1,0/1,1/1|0/1,-1/1,0/1", "0/1,0/1,1/1|0/1,0/1,0/1",  "0/1,0/1,1/1|1/1,-1/1,0/1",
        "0/1,0/1,1/1|1/1,0/1,0/1",  "0/1,1/1,0/1|-1/1,0/1,0/1", "0/1,1/1,0/1|-1/1,0/1,1/1",
        "0/1,1/1,0/1|0/1,0/1,0/1",  "0/1,1/1,0/1|0/1,0/1,1/1",  "1/1,0/1,0/1|0/1,0/1,-1/1",
        "1/1,0/1,0/1|0/1,0/1,0/1",  "1/1,0/1,0/1|0/1,1/1,-1/1", "1/1,0/1,0/1|0/1,1/1,0/1",
    };
    const LineMap lines = logical_edges(Solid::cube(1, 1, 1, "p"));
    EXPECT_EQ(keys_of(lines), expected);

    const std::vector<Edge> edges = select_edges(lines);
    ASSERT_EQ(edges.size(), 12u);
    // The first key is the z-parallel edge at x = 1, y = 0, first met as the front face's side
    // from (1,0,0) up to (1,0,1).
    EXPECT_EQ(edges[0].point, pt(1, 0, 0));
    EXPECT_EQ(edges[0].dir, pt(0, 0, 1));
    EXPECT_EQ(point_at(edges[0], edges[0].t_min), pt(1, 0, 0));
    EXPECT_EQ(point_at(edges[0], edges[0].t_max), pt(1, 0, 1));
    EXPECT_EQ(edges[0].plane_a.canonical(), (PlaneKey{0, 1, 0, 0}));  // front, y = 0
    EXPECT_EQ(edges[0].plane_b.canonical(), (PlaneKey{1, 0, 0, 1}));  // right, x = 1
    for (std::size_t i = 0; i < 8; ++i) EXPECT_TRUE(edges[i].dir[0].is_zero());
    for (std::size_t i = 8; i < 12; ++i) EXPECT_EQ(edges[i].dir, pt(1, 0, 0));
}

TEST(LogicalEdges, SpanCoversEverySideOnTheLine) {
    // A 2 × 1 × 1 box whose top is two squares: the seam is one plane twice, not an edge, and the
    // top front line is carried by two short sides and one long side.
    Solid s = Solid::cube(2, 1, 1, "p");
    s.polygons.erase(s.polygons.begin() + 1);
    s.polygons.push_back(face({pt(0, 0, 1), pt(1, 0, 1), pt(1, 1, 1), pt(0, 1, 1)}));
    s.polygons.push_back(face({pt(1, 0, 1), pt(2, 0, 1), pt(2, 1, 1), pt(1, 1, 1)}));
    const LineMap lines = logical_edges(s);
    EXPECT_EQ(lines.at("0/1,1/1,0/1|-1/1,0/1,1/1").planes.size(), 1u);
    const LineEntry& top_front = lines.at("1/1,0/1,0/1|0/1,1/1,0/1");
    EXPECT_EQ(top_front.planes.size(), 2u);
    EXPECT_EQ(top_front.t_min, Rational(0));
    EXPECT_EQ(top_front.t_max, Rational(2));
    EXPECT_EQ(select_edges(lines).size(), 12u);
}

TEST(LogicalEdges, ThreePlanesOnALineGiveNoEdge) {
    Solid s = Solid::cube(1, 1, 1, "p");
    s.polygons.push_back(face({pt(0, 0, 0), pt(0, 0, 1), pt(-1, -1, 0)}));  // a fin in x = y
    const LineMap lines = logical_edges(s);
    EXPECT_EQ(lines.at("0/1,0/1,1/1|0/1,0/1,0/1").planes.size(), 3u);
    EXPECT_EQ(select_edges(lines).size(), 11u);
}

TEST(LogicalEdges, RepeatedVertexAddsNothing) {
    Solid s = Solid::cube(1, 1, 1, "p");
    std::vector<Vec3> loop = s.polygons[0].vertices;
    loop.insert(loop.begin(), loop.front());
    s.polygons[0] = face(loop);
    EXPECT_EQ(keys_of(logical_edges(s)), keys_of(logical_edges(Solid::cube(1, 1, 1, "p"))));
}

TEST(Reach, IsTheExtentsPlusOne) {
    EXPECT_EQ(reach(Solid::cube(1, 1, 1, "p")), Rational(4));
    EXPECT_EQ(reach(Solid::cube(10, 1, 1, "p")), Rational(13));
    EXPECT_EQ(reach(Solid::cube(Rational(1, 2), 2, Rational(-1, 3), "p")), Rational(23, 6));
    EXPECT_THROW(reach(Solid{}), InternalFailure);
}

}  // namespace
}  // namespace brevant
