#include "boolean/split.hpp"

#include <gtest/gtest.h>

#include "geometry_helpers.hpp"

namespace brevant {
namespace {

using testing::plane;
using testing::poly;
using testing::pt;

Split split_by(const Plane& p, Polygon polygon) { return split(p, plane_f64(p), std::move(polygon)); }

// Which list a whole polygon went to, or "cut" when it was divided.
std::string destination(const Split& s) {
    const std::size_t total = s.coplanar_front.size() + s.coplanar_back.size() + s.front.size() + s.back.size();
    if (total != 1) return "cut";
    if (!s.coplanar_front.empty()) return "coplanar_front";
    if (!s.coplanar_back.empty()) return "coplanar_back";
    return s.front.empty() ? "back" : "front";
}

std::vector<std::string> labels(const std::vector<Polygon>& list) {
    std::vector<std::string> out;
    for (const Polygon& q : list) out.push_back(q.label);
    return out;
}

const std::string big = "1" + std::string(400, '0');

TEST(Split, CutsTheSquareAtTheMidline) {
    const Polygon square = poly({pt(0, 0, 0), pt(2, 0, 0), pt(2, 2, 0), pt(0, 2, 0)}, "sq.bottom");
    const Split s = split_by(plane(pt(1, 0, 0), "1"), square);
    ASSERT_EQ(s.front.size(), 1u);
    ASSERT_EQ(s.back.size(), 1u);
    EXPECT_TRUE(s.coplanar_front.empty());
    EXPECT_TRUE(s.coplanar_back.empty());
    EXPECT_EQ(s.front[0].vertices, (std::vector<Vec3>{pt(1, 0, 0), pt(2, 0, 0), pt(2, 2, 0), pt(1, 2, 0)}));
    EXPECT_EQ(s.back[0].vertices, (std::vector<Vec3>{pt(0, 0, 0), pt(1, 0, 0), pt(1, 2, 0), pt(0, 2, 0)}));
    for (const Polygon& piece : {s.front[0], s.back[0]}) {
        EXPECT_EQ(piece.label, "sq.bottom");
        EXPECT_EQ(piece.plane.normal, square.plane.normal);
        EXPECT_EQ(piece.plane.offset, square.plane.offset);
        EXPECT_EQ(piece.float_vertices, to_float_vertices(piece.vertices));
    }
}

TEST(Split, VertexOnThePlaneGoesToBothPieces) {
    // a on the plane x = 0, b in front, c behind; the edge b -> c crosses at p.
    const Vec3 a = pt(0, 0, 0), b = pt(2, 2, 0), c = pt(-2, 4, 0), p = pt(0, 3, 0);
    const Split s = split_by(plane(pt(1, 0, 0), "0"), poly({a, b, c}));
    ASSERT_EQ(s.front.size(), 1u);
    ASSERT_EQ(s.back.size(), 1u);
    EXPECT_EQ(s.front[0].vertices, (std::vector<Vec3>{a, b, p}));
    EXPECT_EQ(s.back[0].vertices, (std::vector<Vec3>{a, p, c}));
}

TEST(Split, CrossingPointsAreExact) {
    // Crossing 3x + y = 1: each new vertex lies exactly on the cutting plane and in the source plane.
    const Plane cutter = plane(pt(3, 1, 0), "1");
    const Polygon tri = poly({pt(0, 0, 0), pt(1, 0, 1), pt(0, 7, 2)});
    const Split s = split_by(cutter, tri);
    ASSERT_EQ(s.front.size(), 1u);
    ASSERT_EQ(s.back.size(), 1u);
    int on_cut = 0;
    for (const Polygon& piece : {s.front[0], s.back[0]}) {
        for (const Vec3& v : piece.vertices) {
            EXPECT_EQ(tri.plane.side(v), 0);
            if (cutter.side(v) == 0) ++on_cut;
        }
    }
    EXPECT_EQ(on_cut, 4);  // two crossing points, each in both pieces
}

struct WholeCase {
    const char* name;
    Plane cutter;
    std::vector<Vec3> loop;
    const char* expected;
};

class SplitWhole : public ::testing::TestWithParam<WholeCase> {};

TEST_P(SplitWhole, MovesUnchanged) {
    const Polygon original = poly(GetParam().loop);
    const Split s = split_by(GetParam().cutter, original);
    ASSERT_EQ(destination(s), GetParam().expected);
    for (const auto* list : {&s.coplanar_front, &s.coplanar_back, &s.front, &s.back}) {
        if (list->empty()) continue;
        EXPECT_EQ(list->front().vertices, original.vertices);
        EXPECT_EQ(list->front().plane.normal, original.plane.normal);
    }
}

const Plane z0 = plane(pt(0, 0, 1), "0");
// 49·fl(1/49) − 1 rounds to −2^-53, not 0, so a pre-test without its error bound would put the
// triangle in x = 1/49 behind the plane 49x = 1.
const Plane x49 = plane(pt(49, 0, 0), "1");
std::vector<Vec3> at_x(const std::string& x) { return {pt(x, "0", "0"), pt(x, "1", "0"), pt(x, "0", "1")}; }

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitWhole,
    ::testing::Values(
        WholeCase{"InPlaneFacingAlong", z0, {pt(0, 0, 0), pt(1, 0, 0), pt(0, 1, 0)}, "coplanar_front"},
        WholeCase{"InPlaneFacingAgainst", z0, {pt(0, 1, 0), pt(1, 0, 0), pt(0, 0, 0)}, "coplanar_back"},
        WholeCase{"InPlaneWithoutNormal", z0, {pt(0, 0, 0), pt(1, 0, 0), pt(2, 0, 0), pt(1, 1, 0)}, "coplanar_back"},
        WholeCase{"AboveTouchingByAnEdge", z0, {pt(0, 0, 0), pt(1, 0, 0), pt(1, 0, 1), pt(0, 0, 1)}, "front"},
        WholeCase{"AboveTouchingByAVertex", z0, {pt(0, 0, 0), pt(1, 0, 1), pt(0, 1, 1)}, "front"},
        WholeCase{"BelowTouchingByAnEdge", z0, {pt(0, 0, -1), pt(1, 0, -1), pt(1, 0, 0), pt(0, 0, 0)}, "back"},
        WholeCase{"Below", z0, {pt(0, 0, -3), pt(1, 0, -2), pt(0, 1, -2)}, "back"},
        WholeCase{"NearOn", x49, at_x("1/49"), "coplanar_front"},
        WholeCase{"NearJustInFront", x49, at_x("100000000000000000001/4900000000000000000000"), "front"},
        WholeCase{"NearJustBehind", x49, at_x("99999999999999999999/4900000000000000000000"), "back"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Split, DropsAPieceWithoutArea) {
    // A spike crosses x = 0 and returns along the same line: the front part has no area.
    const Polygon spiked = poly({pt(-2, 0, 0), pt(-1, 0, 0), pt(1, 0, 0), pt(-1, 0, 0), pt(-1, 1, 0), pt(-2, 1, 0)});
    const Split s = split_by(plane(pt(1, 0, 0), "0"), spiked);
    EXPECT_TRUE(s.front.empty());
    ASSERT_EQ(s.back.size(), 1u);
    EXPECT_FALSE(Polygon::area2(s.back[0].vertices).is_zero());
}

// Pieces take their source's vertex shadows instead of converting again; with inexact or
// out-of-range doubles (where only the exact side can place the vertices) they must still be
// exactly the shadows of the piece's own vertices.
TEST(Split, PieceShadowsMirrorThePieceVertices) {
    const Polygon inexact = poly({pt("1/3", "0", "0"), pt("7/3", "0", "0"), pt("7/3", "5/7", "0"), pt("1/3", "5/7", "0")});
    const Polygon huge = poly({pt("-" + big, "0", "0"), pt(big, "0", "0"), pt(big, "1/3", "0"), pt("-" + big, "1/3", "0")});
    for (const Polygon& source : {inexact, huge}) {
        const Split s = split_by(plane(pt(3, 0, 0), "4"), source);
        ASSERT_EQ(s.front.size() + s.back.size(), 2u);
        for (const std::vector<Polygon>* side : {&s.front, &s.back}) {
            for (const Polygon& piece : *side) {
                EXPECT_EQ(piece.float_vertices.size(), piece.vertices.size());
                for (std::size_t i = 0; i < piece.vertices.size(); ++i) {
                    const FloatVertex expected = to_float_vertex(piece.vertices[i]);
                    for (std::size_t c = 0; c < 3; ++c) EXPECT_EQ(piece.float_vertices[i][c], expected[c]);
                }
            }
        }
    }
}

// split_into appends to shared lists in the order a split would list its parts, polygon by polygon.
TEST(Split, IntoSharedListsKeepsThePolygonOrder) {
    const std::vector<Polygon> polygons{
        poly({pt(0, 0, 0), pt(1, 0, 0), pt(0, 1, 0)}, "along"),
        poly({pt(0, 0, -1), pt(1, 0, 1), pt(0, 1, 1)}, "spanning"),
        poly({pt(0, 1, 0), pt(1, 0, 0), pt(0, 0, 0)}, "against"),
        poly({pt(0, 0, 2), pt(1, 0, 2), pt(0, 1, 3)}, "above"),
    };
    std::vector<Polygon> coplanar, front, back;
    for (const Polygon& p : polygons) split_into(z0, plane_f64(z0), Polygon(p), {coplanar, coplanar, front, back});
    EXPECT_EQ(labels(coplanar), (std::vector<std::string>{"along", "against"}));
    EXPECT_EQ(labels(front), (std::vector<std::string>{"spanning", "above"}));
    EXPECT_EQ(labels(back), (std::vector<std::string>{"spanning"}));
}

}  // namespace
}  // namespace brevant
