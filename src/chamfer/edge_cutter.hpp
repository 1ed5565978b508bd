// The edge cutter: a parallelepiped whose bottom face lies in the bevel plane of one edge and
// which encloses the edge line over the whole edge, subtracted to bevel that edge.
//
// Notation: P is the edge's point, D its direction, A and B its two face planes with rational unit
// normals nA and nB. w1 = ±D × nA runs in A away from the front of B, w2 = ±D × nB in B away from
// the front of A; Q1 = P + dist·w1 and Q2 = P + dist·w2 are where the bevel meets A and B, so the
// bevel is set back dist·|D| from the edge in each face.
#pragma once

#include <optional>

#include "chamfer/edges.hpp"

namespace brevant {

// The outward cutter for the edge, or nothing when the edge stays sharp (a zero bevel, or faces
// that do not lie behind each other). Both face planes must have rational unit normals; a missing
// one fails with an InternalFailure.
std::optional<Solid> edge_cutter(const Edge& edge, const Rational& dist, const Rational& reach);

}  // namespace brevant
