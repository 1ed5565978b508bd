// The one step of the local chamfer that changes the solid: subtracting the pieces it built.
// Kept apart so that another boolean engine can take its place.
#pragma once

#include <vector>

#include "solid/solid.hpp"

namespace brevant {

// solid − (p1 ∪ p2 ∪ …) for closed outward pieces.
Solid cut_away(Solid solid, std::vector<Solid> pieces);

}  // namespace brevant
