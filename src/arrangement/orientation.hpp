// The sign of orient2 with a double filter: decided from the points' double shadows where their
// rounding cannot change it, exactly otherwise.
#pragma once

#include <array>

#include "exact/vec3.hpp"

namespace brevant {

using FloatPoint = std::array<double, 2>;

FloatPoint shadow(const Point2& p);

// sign(orient2(a, b, c)); fa, fb, fc are the shadows of a, b, c.
int orient_sign(const Point2& a, const Point2& b, const Point2& c, const FloatPoint& fa, const FloatPoint& fb,
                const FloatPoint& fc);

}  // namespace brevant
