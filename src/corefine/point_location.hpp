// Exact point location in the plane and in space.
#pragma once

#include <optional>
#include <vector>

#include "corefine/face_set.hpp"

namespace brevant {

// The winding number of the closed loop round p; nothing when p lies on the loop.
std::optional<int> winding_number(const std::vector<Point2>& loop, const Point2& p);

// A point strictly inside the region bounded by the loops (one turning counter-clockwise round
// the others, which turn clockwise round its holes).
Point2 interior_point(const std::vector<std::vector<Point2>>& loops);

// Whether x lies inside the closed solid whose faces these are, by the winding of the faces round
// x along a ray; x must not lie on a face. Rays that graze an edge or a vertex, or run in a face's
// plane, are given up for the next of a fixed list of directions.
bool inside_solid(const FaceSet& solid, const Vec3& x);

}  // namespace brevant
