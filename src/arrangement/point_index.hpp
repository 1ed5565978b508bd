// Exact points of the plane, numbered by first appearance so that later structures can refer to a
// point by a small integer instead of comparing rationals again.
#pragma once

#include <vector>

#include "arrangement/flat_index.hpp"
#include "exact/vec3.hpp"

namespace brevant {

struct Point2Hash {
    std::size_t operator()(const Point2& p) const { return p[0].hash() * 31 + p[1].hash(); }
};

class PointIndex {
public:
    // The number of the point, adding it when it is new.
    int intern(const Point2& p) { return index_.intern(p).first; }
    const std::vector<Point2>& points() const { return index_.keys(); }
    std::vector<Point2> take_points() { return index_.take_keys(); }

private:
    FlatIndex<Point2, Point2Hash> index_;
};

}  // namespace brevant
