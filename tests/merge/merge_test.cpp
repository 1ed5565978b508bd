#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "../scaled_numbers.hpp"

#include "exact/failure.hpp"
#include "merge/loop_triangulation.hpp"
#include "merge/merged.hpp"
#include "solid/measures.hpp"
#include "solid/watertight.hpp"

namespace brevant {
namespace {

std::vector<Point2> loop_of(std::initializer_list<std::array<long, 2>> points) {
    std::vector<Point2> loop;
    for (const auto& [x, y] : points) loop.push_back({Rational(x), Rational(y)});
    return loop;
}

Vec3 pt(long x, long y, long z) { return {Rational(x), Rational(y), Rational(z)}; }

Rational covered_area2(const std::vector<Point2>& loop, const std::vector<std::array<int, 3>>& triangles) {
    Rational sum;
    for (const auto& [a, b, c] : triangles) {
        const Rational t = orient2(loop[a], loop[b], loop[c]);
        EXPECT_GT(t.sign(), 0);
        sum += t;
    }
    return sum;
}

TEST(LoopTriangulation, CoversLoopsWithStraightAndRepeatedVertices) {
    const std::vector<std::vector<Point2>> loops = {
        // T-junction vertices along every side
        loop_of({{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}, {1, 2}, {0, 2}, {0, 1}}),
        // a square whose triangular hole touches its bottom side at (2, 0)
        loop_of({{0, 0}, {2, 0}, {1, 2}, {3, 2}, {2, 0}, {4, 0}, {4, 4}, {0, 4}}),
        // a square whose triangular hole touches a corner of its right side
        loop_of({{0, 0}, {4, 0}, {4, 2}, {2, 1}, {2, 3}, {4, 2}, {4, 4}, {0, 4}}),
        // a staircase
        loop_of({{0, 0}, {4, 0}, {4, 1}, {3, 1}, {3, 2}, {2, 2}, {2, 3}, {1, 3}, {1, 4}, {0, 4}}),
    };
    for (const std::vector<Point2>& loop : loops) {
        const auto triangles = triangulate_loop(loop);
        EXPECT_EQ(covered_area2(loop, triangles), loop_area2(loop));
    }
}

// A comb: a base from x = −n to n with n teeth of random heights, each a column 1 wide, so that many
// reflex vertices block ears.
std::vector<Point2> random_comb(std::mt19937_64& rng, long n) {
    std::uniform_int_distribution<long> height(2, 9);
    std::vector<std::array<long, 2>> points{{-n, -1}, {n, -1}};
    for (long x = n; x > -n; x -= 2) {
        const long top = height(rng);
        points.push_back({x, top});
        points.push_back({x - 1, top});
        points.push_back({x - 1, 0});
        points.push_back({x - 2, 0});
    }
    points.pop_back();
    points.pop_back();
    std::vector<Point2> loop;
    for (const auto& [x, y] : points) loop.push_back({Rational(x), Rational(y)});
    return loop;
}

class TriangulationAtScale : public ::testing::TestWithParam<int> {};

// The comb times 2^e: at 2^1018 its span passes the largest double while every coordinate stays
// below it; at 2^1100 every shadow is infinite; at 2^-1074 they are subnormal.
TEST_P(TriangulationAtScale, CoversTheLoopExactly) {
    const Rational unit = power_of_two(GetParam());
    std::mt19937_64 rng(static_cast<unsigned>(GetParam() + 6000));
    for (long teeth : {3L, 20L, 60L}) {
        std::vector<Point2> loop = random_comb(rng, teeth);
        for (Point2& p : loop) p = {p[0] * unit, p[1] * unit};
        EXPECT_EQ(covered_area2(loop, triangulate_loop(loop)), loop_area2(loop)) << "scale 2^" << GetParam();
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, TriangulationAtScale, ::testing::Values(-1074, -1000, 0, 508, 1018, 1100));

TEST(LoopTriangulation, RefusesALoopThatCrossesItself) {
    EXPECT_THROW(triangulate_loop(loop_of({{0, 0}, {2, 2}, {2, 0}, {0, 2}})), InternalFailure);
}

// Copies of one box, each kept or turned inside out at random, and a second box sliding along the
// first: the faces report how often the copies cover a region the same way.
TEST(MergedFaces, ReportTheLargestWinding) {
    std::mt19937_64 rng(5);
    std::uniform_int_distribution<int> copies(0, 4), coin(0, 1), shift(-3, 3);
    for (int trial = 0; trial < 40; ++trial) {
        const Solid box = Solid::cube(Rational(2), Rational(3), Rational(1), "b");
        Solid soup;
        int net = 0;
        for (int k = copies(rng); k > 0; --k) {
            const bool inside_out = coin(rng);
            net += inside_out ? -1 : 1;
            for (const Polygon& p : (inside_out ? box.flipped() : box).polygons) soup.polygons.push_back(p);
        }
        int largest = -1;
        const Solid faces = merged_faces(soup, &largest);
        EXPECT_EQ(largest, std::abs(net));
        EXPECT_EQ(volume6(faces), volume6(soup));
        // A second box moved along x overlaps the first on four planes where it is shifted by less
        // than its length, and on none otherwise.
        const long dx = shift(rng);
        const Solid moved = box.mapped([&](const Vec3& v) { return add(v, pt(dx, 0, 0)); }, [](const Vec3& n) { return n; });
        Solid pair = box;
        pair.polygons.insert(pair.polygons.end(), moved.polygons.begin(), moved.polygons.end());
        merged_faces(pair, &largest);
        EXPECT_EQ(largest, std::abs(dx) < 2 ? 2 : 1) << dx;
        EXPECT_EQ(merged(pair).merged_form, std::abs(dx) >= 2);
    }
}

TEST(Merged, AnOpenSurfaceStaysOpen) {
    // Three faces of the unit box around the corner at the origin: merging joins nothing, drops
    // nothing, and invents no face.
    const Solid corner{{Polygon::make({pt(0, 0, 0), pt(0, 1, 0), pt(1, 1, 0), pt(1, 0, 0)}, "c.bottom"),
                        Polygon::make({pt(0, 0, 0), pt(1, 0, 0), pt(1, 0, 1), pt(0, 0, 1)}, "c.front"),
                        Polygon::make({pt(0, 0, 0), pt(0, 0, 1), pt(0, 1, 1), pt(0, 1, 0)}, "c.left")}};
    const Solid m = merged(corner);
    EXPECT_EQ(m.polygons.size(), 3u);
    EXPECT_FALSE(watertight_ok(m));
    EXPECT_EQ(canonical_text(m), canonical_text(corner));
}

TEST(Merged, AFaceWhoseFirstVerticesAreCollinearKeepsItsPlane) {
    // The loop starts with three collinear points, so its own plane has no normal.
    const Polygon square = Polygon::make({pt(0, 0, 0), pt(1, 0, 0), pt(2, 0, 0), pt(2, 2, 0), pt(0, 2, 0)}, "s");
    ASSERT_TRUE(square.plane.normal[2].is_zero());
    const Solid m = merged(Solid{{square}});
    ASSERT_EQ(m.polygons.size(), 1u);
    EXPECT_EQ(m.polygons[0].vertices.size(), 4u);  // (1, 0, 0) runs straight on
    EXPECT_GT(m.polygons[0].plane.normal[2].sign(), 0);
    EXPECT_EQ(volume6(m), volume6(Solid{{square}}));
}

}  // namespace
}  // namespace brevant
