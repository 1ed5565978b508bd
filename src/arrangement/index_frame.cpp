#include "arrangement/index_frame.hpp"

#include <algorithm>
#include <cmath>

namespace brevant {

void IndexFrame::include(const Point2& p, const FloatPoint& shadow) {
    for (int axis = 0; axis < 2; ++axis) {
        const double magnitude = std::fabs(shadow[axis]);
        largest_ = std::max(largest_, magnitude);
        if (std::isinf(magnitude)) beyond_ = std::max(beyond_, p[axis].magnitude_exponent());
    }
}

// Beyond the double range a shadow rounded first and scaled then is as monotone as the exact
// scaled value rounded once: both round towards the same order, and every finite shadow lies below
// every coordinate whose shadow is infinite.
double IndexFrame::operator()(const Rational& x, double shadow) const {
    if (beyond_ == LONG_MIN) return largest_ > 0x1p1020 ? shadow * 0x1p-4 : shadow;  // DBL_MAX·2^-4 < 2^1020
    // |coordinate| < 2^(e + 1) with e = max(beyond_, 1024) covers finite shadows as well.
    const long shift = 1018 - std::max(beyond_, 1024L);
    return std::isfinite(shadow) ? std::ldexp(shadow, static_cast<int>(std::max(shift, -2200L))) : x.to_double_scaled(shift);
}

FloatPoint IndexFrame::operator()(const Point2& p, const FloatPoint& shadow) const {
    return {(*this)(p[0], shadow[0]), (*this)(p[1], shadow[1])};
}

}  // namespace brevant
