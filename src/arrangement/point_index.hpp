// Exact points of the plane, numbered by first appearance so that later structures can refer to a
// point by a small integer instead of comparing rationals again.
//
// Notation: an open-addressing table of point numbers, probed linearly from the point's hash and
// kept at most half full; the points themselves live in a vector in number order.
#pragma once

#include <vector>

#include "exact/vec3.hpp"

namespace brevant {

struct Point2Hash {
    std::size_t operator()(const Point2& p) const { return p[0].hash() * 31 + p[1].hash(); }
};

class PointIndex {
public:
    // The number of the point, adding it when it is new.
    int intern(const Point2& p);
    const std::vector<Point2>& points() const { return points_; }
    std::vector<Point2> take_points() { return std::move(points_); }

private:
    void grow();

    std::vector<int> slots_;  // −1 for empty
    std::vector<Point2> points_;
};

}  // namespace brevant
