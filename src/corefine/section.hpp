// Where a face meets a plane that crosses its own.
//
// Notation: the plane Q crosses the face's plane in a line L. The closed section is the part of L
// lying in the closed face: stretches through its inside and stretches along its boundary. It is
// found from the loops' crossings of the two planes parallel to Q at an infinitesimal distance on
// either side: on each such plane the winding of the loops round a point is the signed count of
// crossings before it, and a stretch of L belongs to the section when either winding is non-zero
// there. A vertex on Q counts as below the upper plane and above the lower one.
#pragma once

#include <utility>
#include <vector>

#include "solid/plane_side.hpp"
#include "corefine/body.hpp"

namespace brevant {

// The stretches of the closed section, ordered along L and joined where they touch; points where
// the face only touches L are left out. Q must not be parallel to the face's plane.
std::vector<std::pair<Vec3, Vec3>> closed_section(const BodyFace& face, const Plane& q, const PlaneF64& q_fast);

}  // namespace brevant
