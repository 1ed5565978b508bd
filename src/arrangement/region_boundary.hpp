// The boundaries of regions made of faces of an arrangement.
//
// Notation: region[c] names the region of the face left of cycle c (−1 for none). A boundary
// half-edge has its region on the left and another region, or none, on the right. Walking a
// boundary with the region on the left, each turn takes the first boundary half-edge clockwise
// from the way back, so a region that touches itself at a vertex is walked through that vertex in
// one loop, never split there.
#pragma once

#include "arrangement/arrangement.hpp"

namespace brevant {

struct BoundaryLoop {
    int region;
    std::vector<int> half_edges;
};

std::vector<BoundaryLoop> region_boundaries(const Arrangement& a, const std::vector<int>& region);

}  // namespace brevant
