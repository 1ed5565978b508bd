// The chamfer: every convex edge is bevelled, every corner flattened, concave edges stay sharp.
//
// A convex solid whose faces all have rational unit normals is chamfered all at once: every edge
// where two face planes meet is bevelled by subtracting its edge cutter, then every corner where
// three edges end is flattened by subtracting its corner cutter, with the BSP boolean: the result
// keeps the fragments that boolean leaves. Any other solid is chamfered from pieces local to its
// convex edges (local_chamfer.hpp) and comes back merged.
//
// Notation: dist is the setback of each bevel from its edge, measured in each face along the
// edge's canonical integer direction D (dist for an axis-parallel edge, dist·|D| in general).
#pragma once

#include "chamfer/local_chamfer.hpp"

namespace brevant {

// The chamfered solid; dist 0 gives the input's polygons in order. Refusals, in this order: a
// negative dist; a vertex the local chamfer cannot resolve (dist > 0); a dist so large that
// bevels reach past a face or each other (for a convex solid: the result turns inside out or loses
// a face plane of the input). A solid without polygons fails with an InternalFailure.
// `body`, when given, is the solid as the engine holds it (cut_away.hpp): the result is the same.
Chamfered chamfer(const Solid& solid, const Rational& dist, const Body* body = nullptr);

}  // namespace brevant
