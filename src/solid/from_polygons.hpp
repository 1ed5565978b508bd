// Solids rebuilt from their faces' loops: the inverse of listing a solid's labelled loops.
//
// Notation: a face loop is (label, P0 … P(n−1)); N is its fan normal, twice its vector area, which
// points to the side from which the loop runs counter-clockwise. A rebuilt polygon gets the plane
// through P0, P1, P2, as every polygon does, when that plane faces the same way as N; otherwise the
// plane with normal N through P0. That happens when P0, P1, P2 are collinear (a loop with a vertex
// in the middle of an edge, or a boolean's piece of a face, which carried its parent's plane) or
// when the corner at P0 is reflex (a non-convex face). Only the side a plane faces decides anything
// later: sides, coplanar keys, unit normals and intersection points do not change when normal and
// offset are multiplied by the same positive number, so a rebuilt piece behaves as the piece did.
#pragma once

#include <string>
#include <vector>

#include "solid/solid.hpp"

namespace brevant {

struct FaceLoop {
    std::string label;
    std::vector<Vec3> loop;
};

// The loop's plane as described above (normal N, the zero vector, for a loop without area).
Plane face_loop_plane(const std::vector<Vec3>& loop);

// One polygon per face, in order, zero-area loops dropped. A loop of fewer than three points, or
// whose points do not lie in one plane exactly, is refused with a message naming its index.
Solid solid_from_polygons(std::vector<FaceLoop> faces);

}  // namespace brevant
