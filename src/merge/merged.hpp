// The merged form of a solid: the same points bounded by whole faces.
//
// Notation: polygons lying in one plane add up with their orientations, so fragments of one face
// join and opposite polygons over the same region cancel. Each region of one orientation,
// connected through edges, becomes one polygon, or a few when it has holes (see
// merge/coplanar_merge.hpp for the cuts); a region that the polygons cover w times (|w| >= 2)
// comes out as the regions of the level sets 1 … |w|, stacked, so that volumes and boundaries
// stay exactly as they were. Sides then gain every vertex of another polygon lying
// inside them on their line, and lose every vertex where they run straight on that no other polygon
// needs. Polygons start at their least vertex (x, then y, then z) and are ordered by their vertex
// sequences, so the result depends only on the point set, and merging it again changes nothing.
#pragma once

#include "solid/solid.hpp"

namespace brevant {

// Labels: each polygon takes the label that covers most of its area (ties: the smallest in byte
// order). Its plane is the face's plane, oriented by its loop.
Solid merged(const Solid& solid);

// The whole faces alone, before T-junctions are closed and the faces ordered: what an operation
// that merges its own result again needs of its operands. With `largest_winding`, also the largest
// number of times the polygons cover any region of a plane the same way (0 when they cover
// nothing, 1 for every solid the operations here build): the cost is one comparison per face.
Solid merged_faces(const Solid& solid, int* largest_winding = nullptr);

}  // namespace brevant
