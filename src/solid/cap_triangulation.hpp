// Triangulation of a prism cap, checked before it is used.
//
// Notation: a triangulation covers a counter-clockwise loop exactly when every triangle turns
// counter-clockwise or is flat, no two triangles of positive area share interior points, and the
// points left unclipped (if any) bound nothing: their edges cancel along every line.
#pragma once

#include <optional>
#include <vector>

#include "solid/ear_clip.hpp"

namespace brevant {

// The open-triangle ear clipping when it covers the loop, else the closed-triangle one when that
// does, else the clipping of a loop that touches itself (solid/touching_clip.hpp) when that does;
// nullopt when none does.
std::optional<std::vector<Triangle2>> triangulate_cap(const std::vector<Point2>& loop);

// Whether the edges of the closed loop, as directed segments, cancel on every stretch of every
// line they lie on (zero-length edges ignored).
bool edges_cancel(const std::vector<Point2>& loop);

// Whether the interiors of two counter-clockwise triangles share a point.
bool interiors_overlap(const Triangle2& s, const Triangle2& t);

}  // namespace brevant
