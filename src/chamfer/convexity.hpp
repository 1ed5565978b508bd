// Whether a solid is one convex piece with outward faces, as the cutters assume: a cutter removes
// everything of the solid within its slab, which only for a convex solid is the bevel alone.
#pragma once

#include "solid/solid.hpp"

namespace brevant {

// False when some vertex lies strictly in front of the plane of some polygon (exact test). This
// rejects concave solids, separate pieces and inward solids, however the faces are fragmented.
bool is_convex(const Solid& solid);

}  // namespace brevant
