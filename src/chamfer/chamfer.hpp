// The chamfer: every edge where two face planes meet is bevelled by subtracting its edge cutter,
// then every corner where three edges end is flattened by subtracting its corner cutter. The
// supported solids are convex; others are refused.
//
// Notation: dist is the setback of each bevel from its edge, measured in each face along the
// edge's canonical integer direction D (dist for an axis-parallel edge, dist·|D| in general).
#pragma once

#include "solid/solid.hpp"

namespace brevant {

// The chamfered solid; dist 0 gives the input's polygons in order. Refusals, in this order: a
// negative dist; a non-convex solid (dist > 0); a face plane without a rational unit normal next
// to an edge (any dist); a dist so large that the result turns inside out or loses a face plane
// of the input. A solid without polygons fails with an InternalFailure.
Solid chamfer(const Solid& solid, const Rational& dist);

}  // namespace brevant
