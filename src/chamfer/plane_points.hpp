// Exact tests among points of one plane, in the plane's 2D frame, decided from double shadows where
// those prove the answer: orientation (with sides along a coordinate axis, the most common in
// solids, decided by comparisons alone), a segment against a convex polygon's inside, and a point
// against a polygon.
#pragma once

#include <vector>

#include "arrangement/orientation.hpp"
#include "merge/plane_frame.hpp"

namespace brevant {

// Points of a plane in its frame, with their shadows.
struct Points2 {
    std::vector<Point2> exact;
    std::vector<FloatPoint> shadows;
};

Points2 projected(const std::vector<Vec3>& points, const PlaneFrame& frame);

// The sign of orient2(a, b, c), with a and b points i and j of s, c point k of t.
int orient(const Points2& s, std::size_t i, std::size_t j, const Points2& t, std::size_t k);

// Whether the segment from point 0 to point 1 of `ends` meets the inside of the convex polygon
// (corners in order, turning `turn`, +1 counter-clockwise).
bool crosses_inside(const Points2& ends, const Points2& convex, int turn);

// Whether the one point of `at` lies in the polygon or on its boundary.
bool covers(const Points2& loop, const Points2& at);

}  // namespace brevant
