// Lines in space named exactly: its direction scaled so that its first nonzero coordinate (the
// line's axis) is 1, and its point where that coordinate is 0. Along the line a point has the
// parameter p[axis].
#pragma once

#include "exact/vec3.hpp"

namespace brevant {

struct Line3 {
    int axis;
    Vec3 direction;
    Vec3 crossing;
    bool operator==(const Line3&) const = default;
};

struct Line3Hash {
    std::size_t operator()(const Line3& l) const;
};

// The line through two different points.
Line3 line_through(const Vec3& a, const Vec3& b);

}  // namespace brevant
