// Small builders shared by the boolean tests.
#pragma once

#include <string>
#include <vector>

#include "exact/plane.hpp"
#include "solid/polygon.hpp"

namespace brevant::testing {

// A point from number texts, so that fractions read naturally: pt("1/3", "0", "2").
inline Vec3 pt(const std::string& x, const std::string& y, const std::string& z) {
    return {parse_r(x), parse_r(y), parse_r(z)};
}

inline Vec3 pt(long x, long y, long z) { return {Rational(x), Rational(y), Rational(z)}; }

inline Plane plane(const Vec3& normal, const std::string& offset) { return {normal, parse_r(offset)}; }

inline Polygon poly(std::vector<Vec3> loop, const std::string& label = "t.face") {
    return Polygon::make(std::move(loop), label);
}

}  // namespace brevant::testing
