// The chamfer of a closed solid of any shape, built from pieces local to its convex edges.
//
// Every convex edge is bevelled with the edge cutter's setback; concave edges stay sharp; each
// vertex where a convex edge ends is resolved as vertex_rules.hpp describes. The material removed
// is the union of convex pieces (wedges along the convex edges, pieces at some vertices) that do
// not overlap, subtracted from the solid in one step by the engine on whole faces (cut_away.hpp);
// the result, in merged form, is then checked (locality_check.hpp).
#pragma once

#include "corefine/body.hpp"
#include "solid/solid.hpp"

namespace brevant {

// For dist > 0; the result is merged, or the solid itself when it has no convex edge. Refusals: a
// vertex it cannot resolve (whatever dist), then a dist too large.
// `body`, when given, is the solid as the engine holds it (cut_away.hpp).
Solid chamfer_locally(const Solid& solid, const Rational& dist, const Body* body = nullptr);

}  // namespace brevant
