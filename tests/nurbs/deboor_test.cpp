#include "nurbs/deboor.hpp"

#include <string>
#include <vector>

#include <gtest/gtest.h>

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

// A quadratic with knots (0, 0, 0, 1, 2, 2, 2) and control points (0,0), (1,0), (2,1), (3,0), weights 1.
const std::vector<Rational> two_span_knots = rationals({"0", "0", "0", "1", "2", "2", "2"});
const std::vector<HPoint> two_span_points = {point({"0", "0", "0", "1"}), point({"1", "0", "0", "1"}),
                                             point({"2", "1", "0", "1"}), point({"3", "0", "0", "1"})};

struct Case {
    const char* name;
    std::uint64_t p;
    std::vector<Rational> knots;
    std::vector<HPoint> cps;
    const char* t;
    std::vector<std::string> expected;
};

class DeBoor : public ::testing::TestWithParam<Case> {};

TEST_P(DeBoor, MatchesHandComputedPoints) {
    const Case& c = GetParam();
    EXPECT_EQ(texts_of(deboor_h(c.p, c.knots, c.cps, q(c.t))), c.expected);
}

const std::vector<HPoint> short_last = {two_span_points[0], two_span_points[1], two_span_points[2],
                                        point({"3", "0", "0"})};
const std::vector<HPoint> three = {point({"5"}), point({"6"}), point({"7"})};
const std::vector<HPoint> steps = {point({"10"}), point({"11"}), point({"12"})};
const std::vector<Rational> step_knots = rationals({"0", "1", "2", "3"});

INSTANTIATE_TEST_SUITE_P(
    Cases, DeBoor,
    ::testing::Values(
        // Below 1 the curve follows span 2, from the interior knot 1 on (and past the end) span 3;
        // the extrapolated points are those spans' polynomials outside their intervals.
        Case{"TwoSpanHalf", 2, two_span_knots, two_span_points, "1/2", {"7/8", "1/8", "0/1", "1/1"}},
        Case{"TwoSpanInteriorKnot", 2, two_span_knots, two_span_points, "1", {"3/2", "1/2", "0/1", "1/1"}},
        Case{"TwoSpanEnd", 2, two_span_knots, two_span_points, "2", {"3/1", "0/1", "0/1", "1/1"}},
        Case{"TwoSpanPastTheEnd", 2, two_span_knots, two_span_points, "3", {"11/2", "-7/2", "0/1", "1/1"}},
        Case{"TwoSpanBeforeTheStart", 2, two_span_knots, two_span_points, "-1", {"-5/2", "1/2", "0/1", "1/1"}},
        // A short control point that the span does not reach takes no part and does no harm.
        Case{"ShortPointOutsideTheSpan", 2, two_span_knots, short_last, "1/2", {"7/8", "1/8", "0/1", "1/1"}},
        Case{"OneSpanBezier", 2, rationals({"0", "0", "0", "1", "1", "1"}),
             {point({"0", "0", "0", "1"}), point({"1", "2", "0", "1"}), point({"2", "0", "0", "1"})}, "1/2",
             {"1/1", "1/1", "0/1", "1/1"}},
        // Degree 0 is piecewise constant: each parameter picks the control point of its span.
        Case{"DegreeZeroBefore", 0, step_knots, steps, "-1", {"10/1"}},
        Case{"DegreeZeroInside", 0, step_knots, steps, "1/2", {"10/1"}},
        Case{"DegreeZeroKnot1", 0, step_knots, steps, "1", {"11/1"}},
        Case{"DegreeZeroEnd", 0, step_knots, steps, "3", {"12/1"}},
        Case{"DegreeZeroPast", 0, step_knots, steps, "9", {"12/1"}},
        // t = knots[p] stays in span p even where knots[p + 1] repeats it; there the zero-length
        // interval gives alpha = 0 and the first control point. Span 2 would give the second.
        Case{"StartAcrossARepeatedKnot", 1, rationals({"0", "1", "1", "2", "3"}), three, "1", {"5/1"}},
        // The end-of-range rule comes before the start rule: on a domain of one knot value, t on
        // it takes the last span (the second point) rather than span p (the first).
        Case{"EndRuleFirst", 1, rationals({"0", "1", "1", "1", "2"}), three, "1", {"6/1"}},
        // A doubled interior knot passes through the control point between the two pieces; t on
        // the knot goes to the span on its right.
        Case{"DoubledInteriorKnot", 2, rationals({"0", "0", "0", "1", "1", "2", "2", "2"}),
             {point({"0"}), point({"4"}), point({"8"}), point({"2"}), point({"6"})}, "1", {"8/1"}},
        // A control point longer than the first is cut to the first's length.
        Case{"LongerPointIsCut", 0, rationals({"0", "1", "2"}), {point({"1"}), point({"2", "3"})}, "1", {"2/1"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DeBoorExtras, KnotVectorOneShortStillEvaluates) {
    const std::vector<Rational> short_knots(two_span_knots.begin(), two_span_knots.end() - 1);
    for (const char* t : {"-1", "1/2", "1", "3/2", "2", "3"}) {
        EXPECT_EQ(deboor_h(2, short_knots, two_span_points, q(t)), deboor_h(2, two_span_knots, two_span_points, q(t)))
            << t;
    }
}

}  // namespace
}  // namespace brevant
