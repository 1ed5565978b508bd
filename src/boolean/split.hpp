// Sorting one polygon against one plane: the only geometric step of the BSP tree.
//
// Notation: a vertex is in front of a plane when normal·v > offset (side +1), behind when it is
// below (side −1), on it otherwise (side 0). A polygon's class is the OR of 1 for each vertex in
// front and 2 for each vertex behind: coplanar 0, front 1, back 2, spanning 3. Vertex sides come
// from solid/plane_side.hpp.
#pragma once

#include <vector>

#include "solid/plane_side.hpp"

namespace brevant {

// Where the parts of a polygon went; each list owns its polygons.
struct Split {
    std::vector<Polygon> coplanar_front;  // in the plane, facing the same way
    std::vector<Polygon> coplanar_back;   // in the plane, facing the other way (or without a normal)
    std::vector<Polygon> front;
    std::vector<Polygon> back;
};

// The lists a split appends to; two of them may be one list.
struct SplitTargets {
    std::vector<Polygon>& coplanar_front;
    std::vector<Polygon>& coplanar_back;
    std::vector<Polygon>& front;
    std::vector<Polygon>& back;
};

// A polygon that does not cross the plane moves whole into one list. A spanning polygon is cut
// at exact crossing points into at most one piece in front and one behind; the pieces keep the
// source's plane and label, and a piece without area is dropped. `fast` must be plane_f64(plane).
Split split(const Plane& plane, const PlaneF64& fast, Polygon polygon);
// The same, appending the parts to `to` in the order coplanar front, coplanar back, front, back.
void split_into(const Plane& plane, const PlaneF64& fast, Polygon&& polygon, const SplitTargets& to);

}  // namespace brevant
