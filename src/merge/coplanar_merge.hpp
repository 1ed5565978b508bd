// Merging the polygons of one plane into whole faces, in the plane's own 2D coordinates.
//
// Notation: every loop counts with its winding, so a loop and the same loop reversed cancel. The
// level set k (k >= 1) is where the total winding is at least k (sign +1) or at most −k (sign −1);
// a region of level k is a part of it of one sign connected through edges. Level sets nest, and a
// point of winding w lies in |w| of them, so the pieces of all levels cover each point exactly as
// often as the loops do: the areas add up to the loops' signed area, and the boundaries to theirs.
// Where every winding is −1, 0 or 1, level 1 is all there is. A region without holes becomes one
// piece; a region with holes is cut into pieces along horizontal cuts (parallel to the first 2D
// axis) from each hole's least vertex towards −x and from its greatest vertex towards +x, each
// ending where it first meets the region's boundary; each level is cut by its own holes alone. A
// piece's loop keeps its region on the left (counter-clockwise) and has no vertex where it runs
// straight on.
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
    int level;  // the level set the piece belongs to
};

// The pieces of every level, level by level.
std::vector<MergedPiece> merge_coplanar(const std::vector<OwnedLoop>& loops);

}  // namespace brevant
