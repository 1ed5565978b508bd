// Exact points of the plane, numbered by first appearance so that later structures can refer to a
// point by a small integer instead of comparing rationals again.
#pragma once

#include <unordered_map>
#include <vector>

#include "exact/vec3.hpp"

namespace brevant {

struct Point2Hash {
    std::size_t operator()(const Point2& p) const { return p[0].hash() * 31 + p[1].hash(); }
};

class PointIndex {
public:
    // The number of the point, adding it when it is new.
    int intern(const Point2& p) {
        auto [it, added] = ids_.try_emplace(p, static_cast<int>(points_.size()));
        if (added) points_.push_back(p);
        return it->second;
    }
    const std::vector<Point2>& points() const { return points_; }
    std::vector<Point2> take_points() { return std::move(points_); }

private:
    std::unordered_map<Point2, int, Point2Hash> ids_;
    std::vector<Point2> points_;
};

}  // namespace brevant
