// The first point where a ray parallel to the x-axis meets a set of arrangement edges.
//
// Notation: the edges are held in a quadtree (arrangement/segment_tree.hpp). A ray walks the
// leaves along its line from the one holding its origin, testing their edges exactly, and stops
// after the leaf that holds the index point of the nearest hit found: any hit not yet found lies
// in a leaf further on, so its index point, and therefore the hit itself, lies further away.
#pragma once

#include <functional>
#include <optional>

#include "arrangement/arrangement.hpp"
#include "arrangement/segment_tree.hpp"

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
    const Arrangement& a_;
    std::vector<int> edges_;  // by segment of the tree
    IndexFrame frame_;
    SegmentTree tree_;
};

// The cycle bounding the face that the ray crosses just before the hit, on the origin's side.
int cycle_before_hit(const Arrangement& a, const RayHit& hit, int dx);

}  // namespace brevant
