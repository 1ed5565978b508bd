#include "arrangement/index_frame.hpp"

#include <algorithm>
#include <limits>

namespace brevant {

IndexFrame::IndexFrame(double largest) : factor_(largest > 0x1p1020 ? 0x1p-4 : 1.0) {}  // DBL_MAX·2^-4 < 2^1020

double IndexFrame::operator()(double shadow) const {
    constexpr double kLargest = std::numeric_limits<double>::max();
    return std::clamp(shadow, -kLargest, kLargest) * factor_;
}

FloatPoint IndexFrame::operator()(const FloatPoint& shadow) const { return {(*this)(shadow[0]), (*this)(shadow[1])}; }

}  // namespace brevant
