// The first point where a ray parallel to the x-axis meets a set of arrangement edges.
//
// Notation: the edges are bucketed into horizontal bands by the double shadows of their ends,
// each edge entered in every band its y-range (widened by a margin far above the rounding of the
// shadows) reaches, so that a ray at height y needs only the edges of one band; every decision is
// then exact.
#pragma once

#include <functional>
#include <optional>

#include "arrangement/arrangement.hpp"

namespace brevant {

struct RayHit {
    Point2 point;
    int vertex = -1;     // the vertex hit, or −1
    int half_edge = -1;  // for a hit inside an edge: its half-edge with the ray's origin on the left
};

class HorizontalRays {
public:
    HorizontalRays(const Arrangement& a, const std::vector<int>& edges);

    // The hit nearest to `origin` of the ray from `origin` in direction (dx, 0), dx = ±1, among the
    // edges that `counts` accepts (all when it is empty), not counting `origin` itself. The origin
    // must not lie inside one of the edges.
    std::optional<RayHit> first_hit(const Point2& origin, int dx, const std::function<bool(int)>& counts = {}) const;

private:
    int band(double y) const;

    const Arrangement& a_;
    double y0_ = 0.0, height_ = 1.0, margin_ = 0.0;
    int bands_ = 1;
    std::vector<int> start_, members_;
};

// The cycle bounding the face that the ray crosses just before the hit, on the origin's side.
int cycle_before_hit(const Arrangement& a, const RayHit& hit, int dx);

}  // namespace brevant
