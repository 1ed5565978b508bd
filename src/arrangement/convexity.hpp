// Convex loops: a loop that turns one way at every corner (or runs straight on there, never
// straight back) and winds round once. Winding round once shows as x and y each changing direction
// at most twice along the loop; a loop that winds twice (a star) changes at least four times.
#pragma once

#include <cstddef>
#include <vector>

#include "exact/vec3.hpp"

namespace brevant {

// +1 for a convex loop turning counter-clockwise, −1 for one turning clockwise, 0 for any other
// loop. With `corners`, the indices of its corners where it does not run straight on.
int convex_turn(const std::vector<Point2>& loop, std::vector<std::size_t>* corners = nullptr);

}  // namespace brevant
