#include "nurbs/nurbs_eval.hpp"

#include <cctype>
#include <functional>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "exact/failure.hpp"

namespace brevant {
namespace {

std::string failure_of(const std::function<void()>& call) {
    try {
        call();
    } catch (const InternalFailure& failure) {
        return failure.what();
    }
    return "no failure";
}

struct OrderCase {
    const char* name;
    std::function<void()> call;
    const char* reported;  // a piece of the expected message
};

class ReadOrder : public ::testing::TestWithParam<OrderCase> {};

// When several inputs are bad, the first in reading order is the one reported.
TEST_P(ReadOrder, ReportsTheFirstBadInput) {
    const std::string message = failure_of(GetParam().call);
    EXPECT_NE(message.find(GetParam().reported), std::string::npos) << message;
}

const NumberTexts line_knots{"0", "0", "1", "1"};
const NumberTexts2 line_points{{"0", "0", "0"}, {"4", "2", "0"}};
constexpr std::uint64_t huge = std::numeric_limits<std::uint64_t>::max();

std::vector<OrderCase> curve_cases() {
    return {
        {"knot before weight", [] { nurbs_curve_eval(1, {{"c", "0", "0"}, {"1", "1", "1"}}, {"0", "k", "1", "1"}, "t", NumberTexts{"w", "1"}); }, "'k'"},
        {"every weight before any point", [] { nurbs_curve_eval(1, {{"c", "0", "0"}, {"1", "1", "1"}}, line_knots, "t", NumberTexts{"1", "w"}); }, "'w'"},
        {"surplus weights are still read", [] { nurbs_curve_eval(1, line_points, line_knots, "1/2", NumberTexts{"1", "1", "w"}); }, "'w'"},
        {"earlier bad coordinate before missing weight", [] { nurbs_curve_eval(1, {{"0", "c", "0"}, {"1", "1", "1"}}, line_knots, "t", NumberTexts{"1"}); }, "'c'"},
        {"missing weight before its point's coordinates", [] { nurbs_curve_eval(1, {{"0", "0", "0"}, {"c", "1", "1"}}, line_knots, "t", NumberTexts{"1"}); }, "missing weight for control point 1"},
        {"points before t", [] { nurbs_curve_eval(1, {{"0", "0", "0"}, {"1", "c", "1"}}, line_knots, "t", std::nullopt); }, "'c'"},
        {"t before the kernel", [] { nurbs_curve_eval(huge, line_points, {}, "t", std::nullopt); }, "'t'"},
        {"kernel before projection", [] { nurbs_curve_eval(1, {{"0", "0"}, {"1", "1"}}, {"0", "0"}, "0", std::nullopt); }, "index out of range: knot"},
    };
}

std::vector<OrderCase> surface_cases() {
    const NumberTexts k{"0", "0", "1", "1"};
    const NumberTexts3 net{{{"0", "0", "0"}, {"0", "2", "0"}}, {{"2", "0", "0"}, {"2", "2", "4"}}};
    const NumberTexts2 ones{{"1", "1"}, {"1", "1"}};
    NumberTexts3 bad_row1 = net;
    bad_row1[1][0][2] = "c1";
    NumberTexts3 short_row0 = bad_row1;
    short_row0[0].pop_back();
    NumberTexts3 bad_point0 = net;
    bad_point0[0][0][1] = "c0";
    return {
        {"ku before kv", [=] { nurbs_surface_eval(1, 1, net, {"a"}, {"b"}, "1", "1", std::nullopt); }, "'a'"},
        {"kv before v", [=] { nurbs_surface_eval(1, 1, net, k, {"b"}, "1", "v", std::nullopt); }, "'b'"},
        {"v before the rows", [=] { nurbs_surface_eval(1, 1, bad_point0, k, k, "u", "v", std::nullopt); }, "'v'"},
        {"weight before its point", [=] { nurbs_surface_eval(1, 1, bad_point0, k, k, "1", "1", NumberTexts2{{"w", "1"}, {"1", "1"}}); }, "'w'"},
        {"a point before the next weight", [=] { nurbs_surface_eval(1, 1, bad_point0, k, k, "1", "1", NumberTexts2{{"1", "w"}, {"1", "1"}}); }, "'c0'"},
        {"missing weight entry", [=] { nurbs_surface_eval(1, 1, net, k, k, "1", "1", NumberTexts2{{"1", "1"}, {"1"}}); }, "missing weight for control point [1][1]"},
        {"missing weight row", [=] { nurbs_surface_eval(1, 1, net, k, k, "1", "1", NumberTexts2{{"1", "1"}}); }, "missing weight for control point [1][0]"},
        {"a row is evaluated before the next is read", [=] { nurbs_surface_eval(1, 1, short_row0, k, k, "u", "1", std::nullopt); }, "index out of range"},
        {"rows before u", [=] { nurbs_surface_eval(1, 1, bad_row1, k, k, "u", "1", ones); }, "'c1'"},
        {"u before the evaluation across rows", [=] { nurbs_surface_eval(huge, 1, net, k, k, "u", "1", ones); }, "'u'"},
        {"an empty net", [=] { nurbs_surface_eval(1, 1, {}, k, k, "1", "1", std::nullopt); }, "no control points"},
        {"an empty row", [=] { nurbs_surface_eval(0, 0, {{}}, k, k, "1", "1", std::nullopt); }, "no control points"},
    };
}

std::string case_name(const ::testing::TestParamInfo<OrderCase>& info) {
    std::string name = info.param.name;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(Curve, ReadOrder, ::testing::ValuesIn(curve_cases()),
                         case_name);
INSTANTIATE_TEST_SUITE_P(Surface, ReadOrder, ::testing::ValuesIn(surface_cases()),
                         case_name);

}  // namespace
}  // namespace brevant
