// The wedges of the convex segments: each the prism behind its two faces and in front of its
// bevel, stopped at both ends by the vertex rules.
//
// Notation: along a segment from S to E a point has the parameter s in X = Q + s·(E − S), where
// Q is one of the prism's three edge points at S: S and where the bevel meets faces A and B. A bound at S
// crosses the three lines at parameters s; the wedge reaches past the start bounds from the
// largest of them on, and stays before the end bounds up to the smallest of theirs.
#pragma once

#include <vector>

#include "chamfer/vertex_rules.hpp"

namespace brevant {

// The wedge pieces in segment order, one per pair of end alternatives. Refuses as too large when
// the stretches cut by the two ends' bounds overlap (the segment is too short for the bevel).
std::vector<ConvexPiece> wedge_pieces(const EdgeMap& map, const std::vector<std::optional<Bevel>>& bevels,
                                      const VertexPlan& plan);

}  // namespace brevant
