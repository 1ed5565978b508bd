#include "nurbs/nurbs_eval.hpp"

#include "exact/failure.hpp"
#include "nurbs/deboor.hpp"

namespace brevant {
namespace {

std::vector<Rational> parse_all(const NumberTexts& texts) {
    std::vector<Rational> values;
    values.reserve(texts.size());
    for (const std::string& text : texts) values.push_back(parse_r(text));
    return values;
}

HPoint homogeneous(const NumberTexts& coordinates, const Rational& weight) {
    HPoint point;
    point.reserve(coordinates.size() + 1);
    for (const std::string& text : coordinates) point.push_back(parse_r(text) * weight);
    point.push_back(weight);
    return point;
}

// Division by the fourth homogeneous coordinate, which is the weight only for three-coordinate
// control points; callers rely on four-coordinate points being read as homogeneous ones.
NumberTexts projected(const HPoint& point) {
    if (point.size() < 4) {
        throw InternalFailure("index out of range: the evaluated point has " + std::to_string(point.size()) +
                              " homogeneous coordinates, projection needs 4");
    }
    return {(point[0] / point[3]).str(), (point[1] / point[3]).str(), (point[2] / point[3]).str()};
}

[[noreturn]] void missing_weight(const std::string& which) {
    std::string message("index out of range: missing weight for control point ");
    message += which;
    throw InternalFailure(message);
}

const std::string& surface_weight(const NumberTexts2& weights, std::size_t i, std::size_t j) {
    if (i >= weights.size() || j >= weights[i].size()) {
        std::string where("[");
        where += std::to_string(i);
        where += "][";
        where += std::to_string(j);
        where += "]";
        missing_weight(where);
    }
    return weights[i][j];
}

}  // namespace

NumberTexts nurbs_curve_eval(std::uint64_t degree, const NumberTexts2& cps, const NumberTexts& knots,
                             const std::string& t, const std::optional<NumberTexts>& weights) {
    const std::vector<Rational> knot_vector = parse_all(knots);
    const std::vector<Rational> weight_values =
        weights ? parse_all(*weights) : std::vector<Rational>(cps.size(), Rational(1));
    std::vector<HPoint> points;
    points.reserve(cps.size());
    for (std::size_t i = 0; i < cps.size(); ++i) {
        if (i >= weight_values.size()) missing_weight(std::to_string(i));
        points.push_back(homogeneous(cps[i], weight_values[i]));
    }
    const Rational parameter = parse_r(t);
    return projected(deboor_h(degree, knot_vector, points, parameter));
}

NumberTexts nurbs_surface_eval(std::uint64_t pu, std::uint64_t pv, const NumberTexts3& net, const NumberTexts& ku,
                               const NumberTexts& kv, const std::string& u, const std::string& v,
                               const std::optional<NumberTexts2>& weights) {
    const std::vector<Rational> u_knots = parse_all(ku);
    const std::vector<Rational> v_knots = parse_all(kv);
    const Rational v_value = parse_r(v);
    std::vector<HPoint> row_points;
    row_points.reserve(net.size());
    for (std::size_t i = 0; i < net.size(); ++i) {
        std::vector<HPoint> row;
        row.reserve(net[i].size());
        for (std::size_t j = 0; j < net[i].size(); ++j) {
            const Rational weight = weights ? parse_r(surface_weight(*weights, i, j)) : Rational(1);
            row.push_back(homogeneous(net[i][j], weight));
        }
        row_points.push_back(deboor_h(pv, v_knots, row, v_value));
    }
    const Rational u_value = parse_r(u);
    return projected(deboor_h(pu, u_knots, row_points, u_value));
}

}  // namespace brevant
