// Where a loop crosses itself, to say so when it is refused.
//
// Notation: edge i runs from point i to point i + 1 (the last back to point 0), indices as the
// caller gave the loop. Two edges cross when their interiors meet in one point at which each has
// the other's ends strictly on opposite sides. The loop crosses itself at point k when it visits
// the point of k again, or runs through it inside an edge, and the two passes interleave there:
// one pass has the directions of the other strictly on both of its sides.
#pragma once

#include <string>
#include <vector>

#include "exact/vec3.hpp"

namespace brevant {

// "edges i and j cross" for the first crossing pair (lowest i, then lowest j), else "the loop
// crosses itself at point k" for the lowest such k, else the empty text.
std::string where_loop_crosses(const std::vector<Point2>& loop);

}  // namespace brevant
