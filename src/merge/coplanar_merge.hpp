// Merging the polygons of one plane into whole faces, in the plane's own 2D coordinates.
//
// Notation: every loop counts with its winding, so a loop and the same loop reversed cancel; a
// region is a set of points where the total winding is positive (sign +1) or negative (sign −1),
// connected through edges. A region without holes becomes one piece; a region with holes is cut
// into pieces along horizontal cuts (parallel to the first 2D axis) from each hole's least vertex
// towards −x and from its greatest vertex towards +x, each ending where it first meets the region's
// boundary. A piece's loop keeps its region on the left (counter-clockwise) and has no vertex where
// it runs straight on.
#pragma once

#include <vector>

#include "exact/vec3.hpp"

namespace brevant {

struct OwnedLoop {
    std::vector<Point2> points;
    int owner;                                 // the caller's tag, 0 or more
    const std::vector<Vec3>* space = nullptr;  // the points in space, when the caller has them
};

struct MergedPiece {
    std::vector<Point2> loop;
    int sign;   // +1 where the loops wind positively, −1 where negatively
    int owner;  // the owner whose loops cover most of the piece (ties: the smallest owner)
    // The loop's points in space, when it is a loop of the input given with them.
    std::vector<Vec3> space;
};

std::vector<MergedPiece> merge_coplanar(const std::vector<OwnedLoop>& loops);

}  // namespace brevant
