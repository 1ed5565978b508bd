// Subtracting the local chamfer's pieces: their union from their faces alone when they are
// apart, from the engine when not, checked against box volumes counted on a grid.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "chamfer/cut_away.hpp"
#include "chamfer_shapes.hpp"
#include "solid/measures.hpp"
#include "solid/transforms.hpp"
#include "solid/watertight.hpp"

namespace brevant {
namespace {

using testing_shapes::pt;

struct IntBox {
    std::array<int, 3> lo, size;
};

Solid solid_of(const IntBox& b) {
    return translated(Solid::cube(b.size[0], b.size[1], b.size[2], "piece"), pt(b.lo[0], b.lo[1], b.lo[2]));
}

// Six times the volume of the union, by unit cells (every corner is an integer).
Rational union_volume6(const std::vector<IntBox>& boxes) {
    std::set<std::array<int, 3>> cells;
    for (const IntBox& b : boxes) {
        for (int x = 0; x < b.size[0]; ++x)
            for (int y = 0; y < b.size[1]; ++y)
                for (int z = 0; z < b.size[2]; ++z) cells.insert({b.lo[0] + x, b.lo[1] + y, b.lo[2] + z});
    }
    return Rational(6 * static_cast<long>(cells.size()));
}

IntBox random_box(std::mt19937& rng) {
    std::uniform_int_distribution<int> at(1, 7), size(1, 3);
    return {{at(rng), at(rng), at(rng)}, {size(rng), size(rng), size(rng)}};
}

// Boxes on a grid of 2-cells, one per cell at most: they touch face to face or not at all.
std::vector<IntBox> boxes_apart(std::mt19937& rng) {
    std::vector<IntBox> boxes;
    std::bernoulli_distribution take(0.4);
    for (int x = 1; x < 9; x += 2)
        for (int y = 1; y < 9; y += 2)
            for (int z = 1; z < 9; z += 2)
                if (take(rng)) boxes.push_back({{x, y, z}, {2, 2, 2}});
    return boxes;
}

void expect_cut_matches_the_cells(const std::vector<IntBox>& boxes) {
    std::vector<Solid> pieces;
    for (const IntBox& b : boxes) pieces.push_back(solid_of(b));
    const Solid block = Solid::cube(10, 10, 10, "block");
    const Solid result = cut_away(block, pieces);
    EXPECT_EQ(volume6(result), volume6(block) - union_volume6(boxes));
    EXPECT_TRUE(watertight_ok(result));
    EXPECT_TRUE(result.merged_form);
}

TEST(CutAway, PiecesApartAreUnitedByTheirFacesAlone) {
    std::mt19937 rng(7);
    for (int round = 0; round < 6; ++round) {
        const std::vector<IntBox> boxes = boxes_apart(rng);
        std::vector<Solid> pieces;
        std::size_t faces = 0;
        for (const IntBox& b : boxes) {
            pieces.push_back(solid_of(b));
            faces += pieces.back().polygons.size();
        }
        EXPECT_EQ(union_of_pieces(pieces).polygons.size(), faces);
        expect_cut_matches_the_cells(boxes);
    }
}

TEST(CutAway, OverlappingPiecesAreUnitedByTheEngine) {
    std::mt19937 rng(11);
    for (int round = 0; round < 6; ++round) {
        std::vector<IntBox> boxes;
        for (int i = 0; i < 5; ++i) boxes.push_back(random_box(rng));
        boxes.push_back(boxes.front());  // at least one pair overlaps
        EXPECT_EQ(volume6(union_of_pieces([&] {
                      std::vector<Solid> pieces;
                      for (const IntBox& b : boxes) pieces.push_back(solid_of(b));
                      return pieces;
                  }())),
                  union_volume6(boxes));
        expect_cut_matches_the_cells(boxes);
    }
}

TEST(CutAway, TetrahedraApartOnlyAcrossTwoEdgesAreUnitedByTheEngine) {
    // The top edge of one (along x) passes just under the bottom edge of the other (along y): only
    // the plane between those two edges separates them, no face plane of either. Turned by a 3-4-5
    // rotation about x, their boxes overlap, so the engine unites them (its result is merged); the
    // volume is still the sum.
    const auto tetra = [](const std::array<Vec3, 4>& c) {
        const auto tri = [](Vec3 a, Vec3 b, Vec3 c, const Vec3& inside) {
            Polygon p = Polygon::make({std::move(a), std::move(b), std::move(c)}, "t");
            if (p.plane.side(inside) > 0) p.flip();
            return p;
        };
        const Solid upright = Solid::make({tri(c[1], c[2], c[3], c[0]), tri(c[0], c[2], c[3], c[1]),
                                           tri(c[0], c[1], c[3], c[2]), tri(c[0], c[1], c[2], c[3])});
        const auto turn = [](const Vec3& v) {
            return pt(v[0], (Rational(3) * v[1] - Rational(4) * v[2]) / Rational(5),
                      (Rational(4) * v[1] + Rational(3) * v[2]) / Rational(5));
        };
        return upright.mapped([&](const Vec3& v) { return add(turn(v), pt(0, 7, -2)); }, turn);
    };
    const Solid a = tetra({pt(2, 5, 5), pt(8, 5, 5), pt(5, 2, 3), pt(5, 8, 3)});
    const Solid b = tetra({pt(5, 2, Rational(11, 2)), pt(5, 8, Rational(11, 2)), pt(2, 5, 8), pt(8, 5, 8)});
    const Solid both = union_of_pieces({a, b});
    EXPECT_TRUE(both.merged_form);
    EXPECT_EQ(volume6(both), volume6(a) + volume6(b));
    const Solid block = Solid::cube(10, 10, 10, "block");
    const Solid result = cut_away(block, {a, b});
    EXPECT_EQ(volume6(result), volume6(block) - volume6(a) - volume6(b));
    EXPECT_TRUE(watertight_ok(result));
}

}  // namespace
}  // namespace brevant
