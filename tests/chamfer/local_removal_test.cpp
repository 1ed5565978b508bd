// Taking the chamfer's pieces out from boundaries alone, against the engine's cut of the same
// pieces: wherever the boundaries give a result, the cut gives the same polygons and passes the
// locality check; and the loops of one plane added up, against cell counts.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "chamfer/cut_away.hpp"
#include "chamfer/local_chamfer.hpp"
#include "chamfer/local_removal.hpp"
#include "chamfer/locality_check.hpp"
#include "chamfer/net_boundary.hpp"
#include "chamfer_shapes.hpp"
#include "corefine/corefine.hpp"
#include "exact/failure.hpp"
#include "solid/measures.hpp"
#include "solid/transforms.hpp"

namespace brevant {
namespace {

using testing_shapes::pt;

Solid box(int x, int y, int z, int dx, int dy, int dz) {
    return translated(Solid::cube(dx, dy, dz, "b"), pt(x, y, z));
}

// Plates with holes, blocks with boxes added and taken away at random, and pillars on floors
// (whose feet flare into the floor, which only the cut handles): all in merged form.
std::vector<Solid> shapes(unsigned seed) {
    std::mt19937 rng(seed);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    std::vector<Solid> out;
    for (int k = 1; k <= 3; ++k) {
        Solid plate = box(0, 0, 0, 4 * k + 1, 4 * k + 1, 2);
        for (int i = 0; i < k; ++i) {
            for (int j = 0; j < k; ++j) plate = corefine(BooleanOp::Cut, plate, box(4 * i + 2, 4 * j + 2, -1, 2, 2, 4));
        }
        out.push_back(plate);
    }
    for (int n = 0; n < 24; ++n) {
        Solid s = box(0, 0, 0, pick(2, 5), pick(2, 5), pick(1, 3));
        for (int m = pick(1, 3); m > 0; --m) {
            const Solid other = box(pick(-1, 4), pick(-1, 4), pick(-1, 3), pick(1, 3), pick(1, 3), pick(1, 3));
            s = corefine(pick(0, 1) ? BooleanOp::Union : BooleanOp::Cut, s, other);
        }
        if (!s.polygons.empty()) out.push_back(s);
    }
    out.push_back(corefine(BooleanOp::Union, box(0, 0, 0, 4, 4, 1), box(1, 1, 1, 1, 1, 2)));
    return out;
}

TEST(LocalRemoval, GivesTheCutsPolygonsWhereverItGivesAResult) {
    int fast = 0, cut_only = 0;
    for (const Solid& solid : shapes(7)) {
        ASSERT_TRUE(solid.merged_form);
        for (const Rational& dist : {Rational(1, 10), Rational(1, 4), Rational(1, 2), Rational(1)}) {
            std::optional<ChamferPieces> made;
            try {
                made = chamfer_pieces(solid, dist);
            } catch (const Refusal&) {
                continue;
            }
            if (!made) continue;
            std::vector<Solid> cutters;
            for (const ConvexPiece& piece : made->pieces) cutters.push_back(piece.solid);
            const std::optional<Body> removed = remove_local_pieces(solid, made->map, made->pieces, nullptr);
            const Solid cut = cut_away(solid, cutters);
            if (!removed) {
                try {
                    refuse_unless_local(solid, made->map, made->pieces, cut);
                    ++cut_only;
                } catch (const Refusal&) {
                }
                continue;
            }
            ++fast;
            EXPECT_NO_THROW(refuse_unless_local(solid, made->map, made->pieces, cut));
            const Solid read = materialise(*removed);
            ASSERT_EQ(read.polygons.size(), cut.polygons.size());
            for (std::size_t i = 0; i < cut.polygons.size(); ++i) {
                EXPECT_EQ(read.polygons[i].vertices, cut.polygons[i].vertices);
                EXPECT_EQ(read.polygons[i].label, cut.polygons[i].label);
            }
            EXPECT_EQ(removed->volume6, volume6(cut));
        }
    }
    // Most results come from the boundaries; the pillar's flared foot, among others, is left to
    // the cut.
    EXPECT_GT(fast, 2 * cut_only);
    EXPECT_GT(cut_only, 0);
}

TEST(LocalRemoval, LeavesSolidsNotInMergedFormToTheCut) {
    const Solid block = box(0, 0, 0, 2, 2, 2);
    ASSERT_FALSE(block.merged_form);
    const std::optional<ChamferPieces> made = chamfer_pieces(block, Rational(1, 4));
    ASSERT_TRUE(made);
    EXPECT_FALSE(remove_local_pieces(block, made->map, made->pieces, nullptr));
}

PlaneFrame frame_z() { return PlaneFrame::of(Plane{{Rational(), Rational(), Rational(1)}, Rational()}); }

std::vector<Vec3> square(int x, int y, int size) {
    return {pt(x, y, 0), pt(x + size, y, 0), pt(x + size, y + size, 0), pt(x, y + size, 0)};
}

// Twice the signed area in the frame's coordinates.
Rational area2(const std::vector<Vec3>& loop) {
    Rational sum;
    for (std::size_t i = 0; i < loop.size(); ++i) {
        const Vec3& a = loop[i];
        const Vec3& b = loop[(i + 1) % loop.size()];
        sum += a[0] * b[1] - a[1] * b[0];
    }
    return sum;
}

// Unit cells of a random set, added up: the net loops enclose as many cells as were added, and
// meet only at points that start one side; where cells touch only at a corner nothing is given.
TEST(NetLoops, CellsAddUpToTheirCountOrGiveNothingWhereTheyTouchAtACorner) {
    std::mt19937 rng(3);
    int given = 0;
    for (int round = 0; round < 200; ++round) {
        std::vector<std::vector<Vec3>> cells;
        std::set<std::pair<int, int>> taken;
        for (int n = std::uniform_int_distribution<int>(1, 12)(rng); n > 0; --n) {
            const int x = std::uniform_int_distribution<int>(0, 4)(rng), y = std::uniform_int_distribution<int>(0, 4)(rng);
            if (taken.insert({x, y}).second) cells.push_back(square(x, y, 1));
        }
        std::vector<SignedLoop> loops;
        for (const std::vector<Vec3>& c : cells) loops.push_back({&c, +1});
        const auto net = net_loops(loops, frame_z());
        if (!net) continue;
        ++given;
        Rational total;
        for (const std::vector<Vec3>& loop : *net) {
            total += area2(loop);
            for (std::size_t i = 0; i < loop.size(); ++i) {  // no point where a loop runs straight on
                const Vec3& a = loop[(i + loop.size() - 1) % loop.size()];
                const Vec3& b = loop[i];
                const Vec3& c = loop[(i + 1) % loop.size()];
                EXPECT_FALSE(((b[0] - a[0]) * (c[1] - b[1]) - (b[1] - a[1]) * (c[0] - b[0])).is_zero());
            }
        }
        EXPECT_EQ(total, Rational(2 * static_cast<long>(cells.size())));
    }
    EXPECT_GT(given, 50);
}

TEST(NetLoops, TakingAwayAStripAlongASideMovesThatSide) {
    const std::vector<Vec3> face = square(0, 0, 4), strip{pt(0, 0, 0), pt(4, 0, 0), pt(4, 1, 0), pt(0, 1, 0)};
    const auto net = net_loops({{&face, +1}, {&strip, -1}}, frame_z());
    ASSERT_TRUE(net);
    ASSERT_EQ(net->size(), 1u);
    EXPECT_EQ(area2(net->front()), Rational(24));
    EXPECT_EQ(loop_turn(net->front(), frame_z()), 1);
}

TEST(NetLoops, AStretchCountedTwiceGivesNothing) {
    const std::vector<Vec3> a = square(0, 0, 2);
    EXPECT_FALSE(net_loops({{&a, +1}, {&a, +1}}, frame_z()));
    EXPECT_TRUE(net_loops({{&a, +1}, {&a, -1}}, frame_z())->empty());
}

// A face two pieces share appears as one loop run both ways: the pair goes, whatever the loops'
// first points; a loop listed twice the same way, or a pair of opposite signs, stays.
TEST(NetLoops, LoopsRunBothWaysCancelInPairs) {
    const std::vector<Vec3> a = square(0, 0, 2), b = square(3, 0, 1);
    std::vector<Vec3> a_back(a.rbegin(), a.rend());
    std::rotate(a_back.begin(), a_back.begin() + 2, a_back.end());
    const std::vector<SignedLoop> kept = uncancelled({{&a, -1}, {&b, -1}, {&a_back, -1}});
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].points, &b);
    EXPECT_EQ(uncancelled({{&a, -1}, {&a, -1}}).size(), 2u);
    EXPECT_EQ(uncancelled({{&a, +1}, {&a_back, -1}}).size(), 2u);
}

}  // namespace
}  // namespace brevant
