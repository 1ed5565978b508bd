// Fold-backs: stretches where a loop runs back along itself (a zero-width spike, a point that
// runs out along a line and back). They bound nothing, and a prism built over them would carry
// fins of coincident opposite faces, so they are taken out before anything is built.
//
// Notation: a loop turns back at a point when its edge in and its edge out lie on one line and
// point in opposite directions. Removing such a point changes neither the region nor the winding
// of any other point; neither does merging two neighbours that coincide. A kept point carries its
// index in the loop and the index of the loop's side that holds its outgoing edge (where a
// backtrack ends past its start, the outgoing edge lies in the side that ran back).
#pragma once

#include <optional>
#include <vector>

#include "exact/vec3.hpp"

namespace brevant {

struct KeptPoint {
    std::size_t point;
    std::size_t side;
};

// Removes turning points and merges coincident neighbours until none is left. With several loops
// of one length (a prismatoid's bottom and top), a point goes only where every loop turns back at
// it, and neighbours merge only where they coincide in every loop; the first loop decides which
// side holds an edge. Returns nullopt when no loop turns back anywhere (the loops are then used as
// given, coincident neighbours and all). A loop that is nothing but fold-backs keeps at most one
// point.
std::optional<std::vector<KeptPoint>> without_fold_backs(const std::vector<const std::vector<Point2>*>& loops);

// The points of the loop that a removal kept, in order.
std::vector<Point2> kept_points(const std::vector<Point2>& loop, const std::vector<KeptPoint>& kept);

}  // namespace brevant
