// Triangulating one face loop with its own vertices.
//
// Notation: the loop turns counter-clockwise and may touch itself at a vertex (a point listed twice),
// as a merged face can; it has no hole. Vertices where it runs straight on (T-junctions) are kept
// and become corners of triangles, so that the neighbouring faces' sides meet the triangles' sides
// end to end. Ears are clipped as usual: a strictly convex vertex whose triangle holds no other
// vertex (except copies of its own corners) and is not entered by a side leaving one of those copies.
#pragma once

#include <array>
#include <vector>

#include "exact/vec3.hpp"

namespace brevant {

// Index triples into the loop, each turning counter-clockwise with positive area. A loop that
// cannot be clipped fails with an InternalFailure.
std::vector<std::array<int, 3>> triangulate_loop(const std::vector<Point2>& loop);

}  // namespace brevant
