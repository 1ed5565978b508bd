// The first point where a ray parallel to the x-axis meets a set of arrangement edges.
#pragma once

#include <optional>

#include "arrangement/arrangement.hpp"

namespace brevant {

struct RayHit {
    Point2 point;
    int vertex = -1;     // the vertex hit, or −1
    int half_edge = -1;  // for a hit inside an edge: its half-edge with the ray's origin on the left
};

// The hit nearest to `origin` of the ray from `origin` in direction (dx, 0), dx = ±1, among
// `edges` (edge numbers), not counting `origin` itself. The origin must not lie inside a listed edge.
std::optional<RayHit> first_hit_along_x(const Arrangement& a, const Point2& origin, int dx, const std::vector<int>& edges);

// The cycle bounding the face that the ray crosses just before the hit, on the origin's side.
int cycle_before_hit(const Arrangement& a, const RayHit& hit, int dx);

}  // namespace brevant
