#include "ssi/rpatch.hpp"

#include <gtest/gtest.h>

#include "exact/failure.hpp"

namespace brevant {
namespace {

ControlRow row_of(const std::vector<std::vector<std::string>>& points) { return parse_net({points}).at(0); }

RPatch unit_patch(const NetTexts& net) { return RPatch{parse_net(net), 0, 1, 0, 1}; }

std::string box_text(const RPatch& p) {
    return p.u0.str() + " " + p.u1.str() + " " + p.v0.str() + " " + p.v1.str();
}

TEST(SplitRows, RowOfThreeIsHalvedAtItsMidpoint) {
    const auto [left, right] = RPatch::split_rows({row_of({{"0", "0", "0"}, {"1", "2", "0"}, {"2", "0", "0"}})}, 3);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0], row_of({{"0", "0", "0"}, {"1/2", "1", "0"}, {"1", "1", "0"}}));
    EXPECT_EQ(right[0], row_of({{"1", "1", "0"}, {"3/2", "1", "0"}, {"2", "0", "0"}}));
}

// De Casteljau at 1/2 against the Bernstein form: the left half's point l is
// Σ C(l, i)·P_i / 2^l, the right half's point r is Σ C(3 − r, i)·P_(r+i) / 2^(3−r). The fourth
// coordinate of the last point is never averaged, so it stays on the right half's end only.
TEST(SplitRows, CubicRowMatchesTheBinomialHalves) {
    const ControlRow row = row_of({{"0", "0", "1/3"}, {"1", "3", "0"}, {"2", "-3", "5/7"}, {"3", "0", "1", "9"}});
    const long binomial[4][4] = {{1, 0, 0, 0}, {1, 1, 0, 0}, {1, 2, 1, 0}, {1, 3, 3, 1}};
    auto blend = [&](std::size_t first, std::size_t degree) {
        ControlPoint p(3);
        for (std::size_t i = 0; i <= degree; ++i)
            for (std::size_t c = 0; c < 3; ++c) p[c] += Rational(binomial[degree][i]) * row[first + i][c];
        for (Rational& c : p) c = c / Rational(1L << degree);
        return p;
    };
    const auto [left, right] = RPatch::split_rows({row}, 3);
    for (std::size_t l = 0; l < 4; ++l) EXPECT_EQ(left[0][l], blend(0, l)) << "left " << l;
    for (std::size_t r = 0; r < 3; ++r) EXPECT_EQ(right[0][r], blend(r, 3 - r)) << "right " << r;
    EXPECT_EQ(right[0][3], row[3]);
}

TEST(SplitRows, FailsOnAnEmptyRowOrAShortAveragedPoint) {
    EXPECT_THROW(RPatch::split_rows({row_of({{"1", "2", "3"}}), ControlRow{}}, 3), InternalFailure);
    EXPECT_THROW(RPatch::split_rows({row_of({{"1", "2", "3"}, {"1", "2"}})}, 3), InternalFailure);
    EXPECT_THROW(RPatch::split4(unit_patch({{{"0", "0", "0"}, {"1", "0"}}})), InternalFailure);
}

TEST(Split4, BilinearPatchGivesTheFourQuartersInOrder) {
    const RPatch patch = unit_patch({{{"0", "0", "0"}, {"0", "1", "0"}}, {{"1", "0", "0"}, {"1", "1", "1"}}});
    const std::array<RPatch, 4> q = RPatch::split4(patch);
    const NetTexts expected[4] = {
        {{{"0", "0", "0"}, {"0", "1/2", "0"}}, {{"1/2", "0", "0"}, {"1/2", "1/2", "1/4"}}},
        {{{"0", "1/2", "0"}, {"0", "1", "0"}}, {{"1/2", "1/2", "1/4"}, {"1/2", "1", "1/2"}}},
        {{{"1/2", "0", "0"}, {"1/2", "1/2", "1/4"}}, {{"1", "0", "0"}, {"1", "1/2", "1/2"}}},
        {{{"1/2", "1/2", "1/4"}, {"1/2", "1", "1/2"}}, {{"1", "1/2", "1/2"}, {"1", "1", "1"}}},
    };
    const char* boxes[4] = {"0/1 1/2 0/1 1/2", "0/1 1/2 1/2 1/1", "1/2 1/1 0/1 1/2", "1/2 1/1 1/2 1/1"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(q[i].net, parse_net(expected[i])) << "child " << i;
        EXPECT_EQ(box_text(q[i]), boxes[i]) << "child " << i;
    }
    EXPECT_EQ(patch.net, parse_net({{{"0", "0", "0"}, {"0", "1", "0"}}, {{"1", "0", "0"}, {"1", "1", "1"}}}));

    const std::array<RPatch, 4> taken = RPatch::split4(RPatch(patch));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(taken[i].net, q[i].net) << "child " << i;
}

// A homogeneous patch, cubic in u and quadratic in v: the quarters meet along the parent's
// midpoint curves and all four share the parent's point at (1/2, 1/2).
TEST(Split4, QuartersShareTheirCommonBoundaryAndKeepTheShape) {
    const RPatch patch = unit_patch({{{"0", "0", "0", "1"}, {"1", "3", "2", "2"}, {"4", "1", "0", "1"}},
                                     {{"2", "2", "6", "2"}, {"3", "-1", "1", "3"}, {"0", "5", "5", "5"}},
                                     {{"7", "0", "1", "1"}, {"2", "2", "2", "2"}, {"1", "1", "1", "1"}},
                                     {{"3", "4", "5", "6"}, {"9", "0", "3", "3"}, {"6", "6", "0", "2"}}});
    const std::array<RPatch, 4> q = RPatch::split4(patch);
    for (const RPatch& child : q) {
        ASSERT_EQ(child.net.size(), 4u);
        ASSERT_EQ(child.net[0].size(), 3u);
    }
    // Child 0's last row is the u-midpoint curve, which is child 2's first row (and likewise 1, 3).
    EXPECT_EQ(q[0].net.back(), q[2].net.front());
    EXPECT_EQ(q[1].net.back(), q[3].net.front());
    // Child 0's last column is child 1's first column.
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(q[0].net[i].back(), q[1].net[i].front());
    // The parent's centre by Bernstein weights (1, 3, 3, 1)/8 in u and (1, 2, 1)/4 in v.
    const int bu[4] = {1, 3, 3, 1}, bv[3] = {1, 2, 1};
    ControlPoint centre(4);
    for (std::size_t i = 0; i < 4; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            for (std::size_t c = 0; c < 4; ++c) centre[c] += Rational(bu[i] * bv[j]) * patch.net[i][j][c] / Rational(32);
    EXPECT_EQ(q[0].net[3][2], centre);
    EXPECT_EQ(q[3].net[0][0], centre);
}

TEST(Split4, DegenerateNets) {
    const RPatch point = RPatch{parse_net({{{"1", "2", "3"}}}), 0, 2, -4, 4};
    const std::array<RPatch, 4> q = RPatch::split4(point);
    const char* boxes[4] = {"0/1 1/1 -4/1 0/1", "0/1 1/1 0/1 4/1", "1/1 2/1 -4/1 0/1", "1/1 2/1 0/1 4/1"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(q[i].net, point.net);
        EXPECT_EQ(box_text(q[i]), boxes[i]);
    }
    const RPatch row = unit_patch({{{"0", "0", "0"}, {"4", "0", "0"}}});
    const std::array<RPatch, 4> r = RPatch::split4(row);
    EXPECT_EQ(r[0].net, r[2].net);
    EXPECT_EQ(r[1].net, r[3].net);
    EXPECT_EQ(r[0].net, parse_net({{{"0", "0", "0"}, {"2", "0", "0"}}}));
    // Zero weights are accepted, and a longer row is cut to the first row's length.
    for (const RPatch& child : RPatch::split4(unit_patch({{{"0", "0", "0", "0"}, {"2", "0", "0", "0"}},
                                                          {{"0", "2", "0", "0"}, {"2", "2", "0", "0"}, {"9", "9", "9", "9"}}})))
        for (const ControlRow& cr : child.net) EXPECT_EQ(cr.size(), 2u);
}

// Homogeneous points are projected by their weight (also a negative one); three coordinates are
// taken as they are; a point too short for its projection fails.
TEST(Bbox, ProjectsByTheWeightAndFailsOnShortPoints) {
    const struct {
        NetTexts net;
        Vec3 lo, hi;
    } rows[] = {
        {{{{"0", "0", "0", "1"}, {"2", "0", "0", "2"}}, {{"0", "3", "3", "3"}, {"-1", "1", "1", "1"}}}, {-1, 0, 0}, {1, 1, 1}},
        {{{{"1", "5", "2"}, {"3", "-5", "2", "0"}}}, {1, -5, 2}, {3, 5, 2}},
        {{{{"2", "4", "6", "-2"}}}, {-1, -2, -3}, {-1, -2, -3}},
    };
    for (const auto& r : rows) {
        const BoundingBox box = RPatch::bbox(unit_patch(r.net));
        EXPECT_EQ(box.lo, r.lo);
        EXPECT_EQ(box.hi, r.hi);
    }
    EXPECT_THROW(RPatch::bbox(unit_patch({{{"1", "1", "1", "1"}, {"1", "1", "1"}}})), InternalFailure);
    EXPECT_THROW(RPatch::bbox(unit_patch({{{"1", "1", "1"}}, {{"1", "1"}}})), InternalFailure);
}

}  // namespace
}  // namespace brevant
