#include <gtest/gtest.h>

#include "solid/line_key.hpp"
#include "solid/transforms.hpp"
#include "solid/watertight.hpp"

namespace brevant {
namespace {

Vec3 pt(long x, long y, long z) { return {Rational(x), Rational(y), Rational(z)}; }

Polygon poly(std::vector<Vec3> loop) { return Polygon::make(std::move(loop), "t.f"); }

Solid unit_box() { return Solid::cube(1, 1, 1, "p"); }

// A 2 × 1 × 1 box whose top is two unit squares: the long top sides of the front, back and end
// faces each meet two shorter sides, and the seam x = 1 is run once each way.
Solid box_with_split_top() {
    Solid s = Solid::cube(2, 1, 1, "p");
    s.polygons.erase(s.polygons.begin() + 1);
    s.polygons.push_back(poly({pt(0, 0, 1), pt(1, 0, 1), pt(1, 1, 1), pt(0, 1, 1)}));
    s.polygons.push_back(poly({pt(1, 0, 1), pt(2, 0, 1), pt(2, 1, 1), pt(1, 1, 1)}));
    return s;
}

TEST(LineKey, NamesTheLineWhateverTheSideRunsAlong) {
    EXPECT_EQ(side_on_line(pt(0, 1, 1), pt(2, 1, 1))->key, "1/1,0/1,0/1|0/1,1/1,-1/1");
    EXPECT_EQ(side_on_line(pt(2, 1, 1), pt(0, 1, 1))->key, "1/1,0/1,0/1|0/1,1/1,-1/1");
    EXPECT_EQ(side_on_line(pt(5, 2, 3), pt(7, 2, 3))->key, "1/1,0/1,0/1|0/1,3/1,-2/1");
    const Vec3 half{Rational(1, 2), Rational(0), Rational(0)};
    EXPECT_EQ(side_on_line(half, pt(0, 1, 0))->key, side_on_line(pt(1, -1, 0), pt(-1, 3, 0))->key);
}

TEST(LineKey, ParametersAreSortedAndOrientationKept) {
    const SideOnLine back = *side_on_line(pt(0, 0, 3), pt(0, 0, -1));
    EXPECT_EQ(back.dir, pt(0, 0, 1));
    EXPECT_EQ(back.lo, Rational(-1));
    EXPECT_EQ(back.hi, Rational(3));
    EXPECT_FALSE(back.forward);
    EXPECT_FALSE(side_on_line(pt(1, 2, 3), pt(1, 2, 3)).has_value());
}

Solid without_last(Solid s) {
    s.polygons.pop_back();
    return s;
}

TEST(Watertight, Decides) {
    const Polygon triangle = poly({pt(0, 0, 0), pt(1, 0, 0), pt(0, 1, 0)});
    Solid flipped_neighbour = unit_box();
    flipped_neighbour.polygons[2] = flipped_neighbour.polygons[2].flipped();
    Solid repeated_vertex = unit_box();
    const std::vector<Vec3> v = repeated_vertex.polygons[0].vertices;
    repeated_vertex.polygons[0] = poly({v[0], v[1], v[1], v[2], v[3]});
    Solid four_faces_on_one_edge = unit_box();
    const Solid other = translated(Solid::cube(1, 1, 1, "q"), pt(1, 1, 0));
    four_faces_on_one_edge.polygons.insert(four_faces_on_one_edge.polygons.end(), other.polygons.begin(),
                                           other.polygons.end());
    const struct {
        const char* name;
        Solid solid;
        bool expected;
    } cases[] = {
        {"box", unit_box(), true},
        {"box without a face", without_last(unit_box()), false},
        {"one triangle", Solid{{triangle}}, false},
        {"triangle and its reverse", Solid{{triangle, triangle.flipped()}}, true},
        {"t-junctions", box_with_split_top(), true},
        {"t-junction missing a piece", without_last(box_with_split_top()), false},
        {"empty", Solid{}, true},
        {"flipped neighbour", flipped_neighbour, false},
        {"repeated vertex ignored", repeated_vertex, true},
        {"four faces on one edge", four_faces_on_one_edge, true},
        {"inward box", unit_box().flipped(), true},
    };
    for (const auto& c : cases) EXPECT_EQ(watertight_ok(c.solid), c.expected) << c.name;
}

}  // namespace
}  // namespace brevant
