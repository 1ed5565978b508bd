#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "arrangement/face_windings.hpp"
#include "arrangement/region_boundary.hpp"
#include "../scaled_numbers.hpp"

namespace brevant {
namespace {

Point2 p2(long x, long y) { return {Rational(x), Rational(y)}; }

// The closed loop through the points, every side owned by `owner`.
std::vector<Segment2> loop(std::initializer_list<std::array<long, 2>> points, int owner) {
    std::vector<Point2> p;
    for (const auto& [x, y] : points) p.push_back(p2(x, y));
    std::vector<Segment2> sides;
    for (std::size_t i = 0; i < p.size(); ++i) sides.push_back({p[i], p[(i + 1) % p.size()], owner});
    return sides;
}

std::vector<Segment2> joined(std::vector<Segment2> a, const std::vector<Segment2>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The total winding of the face left of the counter-clockwise cycle with the given doubled area.
int winding_of_cycle_with_area2(const Arrangement& a, const FaceWindings& fw, long area2) {
    for (int c = 0; c < a.cycle_count(); ++c) {
        if (a.cycle_area2[c] == Rational(area2)) return total(fw.winding[c]);
    }
    ADD_FAILURE() << "no cycle of doubled area " << area2;
    return -1;
}

TEST(SegmentSplit, CrossingSegmentsMeetAtANewVertex) {
    const SegmentSplit s = split_segments({{p2(0, 0), p2(2, 2), 0}, {p2(0, 2), p2(2, 0), 1}});
    ASSERT_EQ(s.pieces.size(), 4u);
    EXPECT_EQ(s.points.size(), 5u);
    EXPECT_EQ(s.points.back(), p2(1, 1));
}

TEST(SegmentSplit, AnEndInsideAnotherSegmentSplitsOnlyThatOne) {
    const SegmentSplit s = split_segments({{p2(0, 0), p2(4, 0), 0}, {p2(1, 0), p2(1, 3), 1}});
    EXPECT_EQ(s.pieces.size(), 3u);
}

TEST(SegmentSplit, OppositeSegmentsOnOneLineCancelWhereTheyOverlap) {
    // 0→4 against 3→1: weight +1 on [0,1] and [3,4], nothing on [1,3]; joined stretches stay apart.
    const SegmentSplit s = split_segments({{p2(0, 0), p2(4, 0), 7}, {p2(3, 0), p2(1, 0), 7}});
    ASSERT_EQ(s.pieces.size(), 2u);
    for (const SplitPiece& piece : s.pieces) EXPECT_EQ(piece.weights, (Weights{{7, 1}}));
    // A constraint keeps its stretch even where weights cancel, and weighs nothing.
    const SegmentSplit c =
        split_segments({{p2(0, 0), p2(2, 0), 7}, {p2(2, 0), p2(0, 0), 7}, {p2(1, 0), p2(2, 0), kConstraint}});
    ASSERT_EQ(c.pieces.size(), 1u);
    EXPECT_TRUE(c.pieces[0].constraint);
    EXPECT_TRUE(c.pieces[0].weights.empty());
}

TEST(SegmentSplit, EqualNeighbouringStretchesJoinUnlessAnotherLineEndsBetween) {
    const SegmentSplit joined_up = split_segments({{p2(0, 0), p2(1, 0), 0}, {p2(1, 0), p2(3, 0), 0}});
    EXPECT_EQ(joined_up.pieces.size(), 1u);
    const SegmentSplit kept = split_segments({{p2(0, 0), p2(1, 0), 0}, {p2(1, 0), p2(3, 0), 0}, {p2(1, 0), p2(1, 5), 1}});
    EXPECT_EQ(kept.pieces.size(), 3u);
}

TEST(SegmentSplit, EndsWhoseDoublesAgreeAreOrderedExactly) {
    // 1 and 1 + 2^-80 round to the same double: only the exact parameters tell them apart. Weight 2
    // lies between them, 1 on either side, along a horizontal and a vertical line alike.
    const Rational tiny = Rational(1) / Rational(1L << 40) * (Rational(1) / Rational(1L << 40));
    const Rational one(1), just_past_one = Rational(1) + tiny, zero(0), two(2);
    for (bool vertical : {false, true}) {
        auto at = [&](const Rational& t) { return vertical ? Point2{zero, t} : Point2{t, zero}; };
        const SegmentSplit s = split_segments({{at(zero), at(just_past_one), 0}, {at(one), at(two), 0}});
        ASSERT_EQ(s.pieces.size(), 3u);
        for (const SplitPiece& piece : s.pieces) {
            const Point2 &from = s.points[piece.from], &to = s.points[piece.to];
            const bool middle = (from == at(one) && to == at(just_past_one)) || (from == at(just_past_one) && to == at(one));
            EXPECT_EQ(total(piece.weights) * (from < to ? 1 : -1), middle ? 2 : 1) << vertical;
        }
    }
}

class SegmentSplitAtScale : public ::testing::TestWithParam<int> {};

// Segments along one line (horizontal, vertical or slanted) whose ends sit at whole parameters or
// 2^-80 past them, all times 2^e: at every scale the ends' doubles may tie (or be infinite), and
// each piece must carry the weight of the segments covering it, counted exactly inside it.
TEST_P(SegmentSplitAtScale, PiecesCarryTheWeightsCoveringThem) {
    const int e = GetParam();
    const Rational unit = power_of_two(e), hair = power_of_two(-80);
    std::mt19937_64 rng(static_cast<unsigned>(e + 4000));
    std::uniform_int_distribution<long> whole(0, 6), coin(0, 1);
    const Point2 directions[] = {p2(1, 0), p2(0, 1), p2(3, -2)};
    for (int trial = 0; trial < 60; ++trial) {
        const Point2& d = directions[trial % 3];
        auto at = [&](const Rational& t) { return Point2{unit * (Rational(5) + t * d[0]), unit * (Rational(-2) + t * d[1])}; };
        std::vector<std::array<Rational, 2>> spans;
        std::vector<Segment2> segments;
        for (int k = 0; k < 5; ++k) {
            const Rational s = Rational(whole(rng)) + (coin(rng) ? hair : Rational());
            const Rational t = Rational(whole(rng)) + (coin(rng) ? hair : Rational());
            if (s == t) continue;
            spans.push_back({s, t});
            segments.push_back({at(s), at(t), 0});
        }
        // The parameter of a point of the line, read off the axis the direction moves along.
        auto parameter = [&](const Point2& p) {
            const int axis = d[0].is_zero() ? 1 : 0;
            return (p[axis] / unit - (axis == 0 ? Rational(5) : Rational(-2))) / d[axis];
        };
        const SegmentSplit split = split_segments(segments);
        for (const SplitPiece& piece : split.pieces) {
            const Rational from = parameter(split.points[piece.from]), to = parameter(split.points[piece.to]);
            const Rational middle = (Rational(6) * from + to) / Rational(7);  // a seventh in: never an end
            int expected = 0;
            for (const auto& [s, t] : spans) {
                if ((s < middle && middle < t) || (t < middle && middle < s)) expected += (s < t) == (from < to) ? 1 : -1;
            }
            EXPECT_NE(expected, 0) << "scale 2^" << e;
            EXPECT_EQ(total(piece.weights), expected) << "scale 2^" << e;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, SegmentSplitAtScale, ::testing::Values(-1100, -1074, -1000, 0, 511, 1000, 1100));

TEST(Weights, AddingOneOwnerInPlaceMatchesCombining) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> owner(0, 4), weight(-2, 2);
    for (int round = 0; round < 200; ++round) {
        Weights w;
        for (int step = 0; step < 12; ++step) {
            const int o = owner(random), k = weight(random);
            const Weights expected = combine(w, k == 0 ? Weights{} : Weights{{o, k}}, 1);
            add_weight(w, o, k);
            ASSERT_EQ(w, expected);
        }
    }
}

TEST(FaceWindings, NestedLoopsAddUpAndReversedOnesCancel) {
    const std::vector<Segment2> outer = loop({{0, 0}, {9, 0}, {9, 9}, {0, 9}}, 0);
    for (const auto& [inner, expected] : {std::pair{loop({{3, 3}, {6, 3}, {6, 6}, {3, 6}}, 1), 2},
                                          std::pair{loop({{3, 3}, {3, 6}, {6, 6}, {6, 3}}, 1), 0}}) {
        const Arrangement a = build_arrangement(joined(outer, inner));
        const FaceWindings fw = face_windings(a);
        EXPECT_EQ(winding_of_cycle_with_area2(a, fw, 2 * 9), expected);  // the inner square
        EXPECT_EQ(winding_of_cycle_with_area2(a, fw, 2 * 81), 1);        // the outer square's face
        // The inner square is a component of its own, lying in the outer square's face.
        EXPECT_EQ(std::count_if(fw.enclosing.begin(), fw.enclosing.end(), [](int c) { return c >= 0; }), 1);
    }
}

TEST(RegionBoundary, ARegionTouchingItselfIsWalkedInOneLoop) {
    // A square with a triangular hole touching its bottom side at (2, 0).
    const Arrangement a = build_arrangement(
        joined(loop({{0, 0}, {4, 0}, {4, 4}, {0, 4}}, 0), loop({{2, 0}, {1, 2}, {3, 2}}, 1)));
    const FaceWindings fw = face_windings(a);
    std::vector<int> region(a.cycle_count(), -1);
    for (int c = 0; c < a.cycle_count(); ++c) {
        if (total(fw.winding[c]) == 1) region[c] = 0;
    }
    const std::vector<BoundaryLoop> loops = region_boundaries(a, region);
    ASSERT_EQ(loops.size(), 1u);
    EXPECT_EQ(loops[0].half_edges.size(), 8u);  // five sides of the square (split at (2, 0)) and three
}

}  // namespace
}  // namespace brevant
