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

struct WatertightCase {
    const char* name;
    Solid (*build)();
    bool expected;
};

class Watertight : public testing::TestWithParam<WatertightCase> {};

TEST_P(Watertight, Decides) { EXPECT_EQ(watertight_ok(GetParam().build()), GetParam().expected); }

const WatertightCase kCases[] = {
    {"box", [] { return unit_box(); }, true},
    {"box_without_a_face",
     [] {
         Solid s = unit_box();
         s.polygons.pop_back();
         return s;
     },
     false},
    {"one_triangle", [] { return Solid{{poly({pt(0, 0, 0), pt(1, 0, 0), pt(0, 1, 0)})}}; }, false},
    {"triangle_and_its_reverse",
     [] {
         const Polygon t = poly({pt(0, 0, 0), pt(1, 0, 0), pt(0, 1, 0)});
         return Solid{{t, t.flipped()}};
     },
     true},
    {"t_junctions", [] { return box_with_split_top(); }, true},
    {"t_junction_missing_a_piece",
     [] {
         Solid s = box_with_split_top();
         s.polygons.pop_back();
         return s;
     },
     false},
    {"empty", [] { return Solid{}; }, true},
    {"flipped_neighbour",
     [] {
         Solid s = unit_box();
         s.polygons[2] = s.polygons[2].flipped();
         return s;
     },
     false},
    {"repeated_vertex_ignored",
     [] {
         Solid s = unit_box();
         const std::vector<Vec3>& v = s.polygons[0].vertices;
         s.polygons[0] = poly({v[0], v[1], v[1], v[2], v[3]});
         return s;
     },
     true},
    {"four_faces_on_one_edge",
     [] {
         Solid s = unit_box();
         const Solid other = translated(Solid::cube(1, 1, 1, "q"), pt(1, 1, 0));
         s.polygons.insert(s.polygons.end(), other.polygons.begin(), other.polygons.end());
         return s;
     },
     true},
    {"inward_box", [] { return unit_box().flipped(); }, true},
};

INSTANTIATE_TEST_SUITE_P(Solids, Watertight, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<WatertightCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace brevant
