#include "nurbs/deboor.hpp"

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "exact/failure.hpp"

namespace brevant {
namespace {

Rational q(const char* text) { return parse_r(text); }

std::vector<Rational> rationals(std::initializer_list<const char*> texts) {
    std::vector<Rational> values;
    for (const char* text : texts) values.push_back(q(text));
    return values;
}

HPoint point(std::initializer_list<const char*> texts) { return rationals(texts); }

std::vector<std::string> texts_of(const HPoint& p) {
    std::vector<std::string> out;
    for (const Rational& c : p) out.push_back(c.str());
    return out;
}

void expect_index_failure(std::uint64_t p, const std::vector<Rational>& knots, const std::vector<HPoint>& cps,
                          const Rational& t) {
    try {
        deboor_h(p, knots, cps, t);
        FAIL() << "expected an index failure";
    } catch (const InternalFailure& failure) {
        EXPECT_EQ(std::string(failure.what()).rfind("index out of range: ", 0), 0U) << failure.what();
    }
}

// A quadratic with knots (0, 0, 0, 1, 2, 2, 2) and control points (0,0), (1,0), (2,1), (3,0), weights 1.
const std::vector<Rational> two_span_knots = rationals({"0", "0", "0", "1", "2", "2", "2"});
const std::vector<HPoint> two_span_points = {point({"0", "0", "0", "1"}), point({"1", "0", "0", "1"}),
                                             point({"2", "1", "0", "1"}), point({"3", "0", "0", "1"})};

struct TwoSpanCase {
    const char* t;
    std::vector<std::string> expected;
};

class TwoSpanCurve : public ::testing::TestWithParam<TwoSpanCase> {};

// Below 1 the curve follows span 2, from the interior knot 1 on (and past the end) span 3; the
// extrapolated points are those spans' polynomials outside their intervals.
TEST_P(TwoSpanCurve, MatchesHandComputedPoints) {
    EXPECT_EQ(texts_of(deboor_h(2, two_span_knots, two_span_points, q(GetParam().t))), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Parameters, TwoSpanCurve,
    ::testing::Values(TwoSpanCase{"1/2", {"7/8", "1/8", "0/1", "1/1"}},
                      TwoSpanCase{"1", {"3/2", "1/2", "0/1", "1/1"}}, TwoSpanCase{"2", {"3/1", "0/1", "0/1", "1/1"}},
                      TwoSpanCase{"3", {"11/2", "-7/2", "0/1", "1/1"}},
                      TwoSpanCase{"-1", {"-5/2", "1/2", "0/1", "1/1"}}));

TEST(DeBoor, OneSpanQuadraticBezierAtHalf) {
    const std::vector<HPoint> cps = {point({"0", "0", "0", "1"}), point({"1", "2", "0", "1"}),
                                     point({"2", "0", "0", "1"})};
    EXPECT_EQ(texts_of(deboor_h(2, rationals({"0", "0", "0", "1", "1", "1"}), cps, q("1/2"))),
              (std::vector<std::string>{"1/1", "1/1", "0/1", "1/1"}));
}

// Degree 0 is piecewise constant: each parameter picks the control point of its span.
TEST(DeBoor, DegreeZeroPicksTheSpanPoint) {
    const std::vector<HPoint> cps = {point({"10"}), point({"11"}), point({"12"})};
    const std::vector<Rational> knots = rationals({"0", "1", "2", "3"});
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"-1", "10/1"}, {"0", "10/1"}, {"1/2", "10/1"}, {"1", "11/1"}, {"2", "12/1"}, {"3", "12/1"}, {"9", "12/1"}};
    for (const auto& [t, expected] : cases) EXPECT_EQ(deboor_h(0, knots, cps, q(t))[0].str(), expected) << t;
}

// t = knots[p] stays in span p even where knots[p + 1] repeats it; there the zero-length interval
// gives alpha = 0 and the result is the first control point. Span 2 would give the second.
TEST(DeBoor, StartOfRangeStaysInSpanPAcrossARepeatedKnot) {
    const std::vector<HPoint> cps = {point({"5"}), point({"6"}), point({"7"})};
    EXPECT_EQ(deboor_h(1, rationals({"0", "1", "1", "2", "3"}), cps, q("1"))[0].str(), "5/1");
}

// The end-of-range rule comes before the start rule: on a domain of one knot value, t on it takes
// the last span (giving the second point) rather than span p (the first).
TEST(DeBoor, EndOfRangeRuleComesFirst) {
    const std::vector<HPoint> cps = {point({"5"}), point({"6"}), point({"7"})};
    EXPECT_EQ(deboor_h(1, rationals({"0", "1", "1", "1", "2"}), cps, q("1"))[0].str(), "6/1");
}

// A quadratic with a doubled interior knot passes through the control point between the two
// pieces; t on the knot goes to the span on its right.
TEST(DeBoor, DoubledInteriorKnotInterpolates) {
    const std::vector<HPoint> cps = {point({"0"}), point({"4"}), point({"8"}), point({"2"}), point({"6"})};
    const std::vector<Rational> knots = rationals({"0", "0", "0", "1", "1", "2", "2", "2"});
    EXPECT_EQ(deboor_h(2, knots, cps, q("1"))[0].str(), "8/1");
}

TEST(DeBoor, KnotVectorOneShortStillEvaluates) {
    const std::vector<Rational> short_knots(two_span_knots.begin(), two_span_knots.end() - 1);
    for (const char* t : {"-1", "1/2", "1", "3/2", "2", "3"}) {
        EXPECT_EQ(deboor_h(2, short_knots, two_span_points, q(t)), deboor_h(2, two_span_knots, two_span_points, q(t)))
            << t;
    }
}

TEST(DeBoor, LongerControlPointsAreCutToTheFirstLength) {
    std::vector<HPoint> cps = two_span_points;
    cps[2].push_back(q("99"));
    cps[3].push_back(q("99"));
    EXPECT_EQ(deboor_h(2, two_span_knots, cps, q("3/2")), deboor_h(2, two_span_knots, two_span_points, q("3/2")));
    EXPECT_EQ(deboor_h(0, rationals({"0", "1", "2"}), {point({"1"}), point({"2", "3"})}, q("1")), point({"2"}));
}

TEST(DeBoor, IndexFailures) {
    const std::uint64_t huge = std::numeric_limits<std::uint64_t>::max();
    {
        SCOPED_TRACE("no control points");
        expect_index_failure(0, rationals({"0", "1"}), {}, q("0"));
    }
    {
        SCOPED_TRACE("only n knots");
        const std::vector<Rational> knots(two_span_knots.begin(), two_span_knots.begin() + 4);
        expect_index_failure(2, knots, two_span_points, q("1/2"));
    }
    {
        SCOPED_TRACE("n == p: at or past the end, inside, before the start");
        for (const char* t : {"2", "1/2", "-5"}) expect_index_failure(4, two_span_knots, two_span_points, q(t));
    }
    {
        SCOPED_TRACE("huge degrees fail at once, whichever span rule applies");
        for (std::uint64_t p : {huge, huge - 1, huge / 2}) {
            for (const char* t : {"-1", "1/2", "2"}) expect_index_failure(p, two_span_knots, two_span_points, q(t));
        }
    }
    {
        SCOPED_TRACE("a knot of the triangle beyond the end");
        const std::vector<Rational> knots(two_span_knots.begin(), two_span_knots.begin() + 5);
        expect_index_failure(2, knots, two_span_points, q("3/2"));
    }
    {
        SCOPED_TRACE("a control point in use shorter than the first");
        std::vector<HPoint> cps = two_span_points;
        cps[3].pop_back();
        expect_index_failure(2, two_span_knots, cps, q("3/2"));
    }
}

// A short control point that the span does not reach takes no part and does no harm.
TEST(DeBoor, ShortPointOutsideTheSpanIsNotRead) {
    std::vector<HPoint> cps = two_span_points;
    cps[3].pop_back();
    EXPECT_EQ(texts_of(deboor_h(2, two_span_knots, cps, q("1/2"))),
              (std::vector<std::string>{"7/8", "1/8", "0/1", "1/1"}));
}

}  // namespace
}  // namespace brevant
