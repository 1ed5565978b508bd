// Splitting segments of the plane at every point where they meet, the first step of an arrangement.
//
// Notation: a segment runs from `from` to `to` and carries an owner, the caller's tag (a face
// label, or kConstraint for a line that only divides and weighs nothing). Along each line the
// segments are first summed: every stretch between consecutive segment ends gets the weights of the
// segments covering it, so that a segment and its reverse cancel, and stretches left with no weight
// and no constraint are dropped. What remains of different lines is then split where it meets: the
// vertices of the arrangement are the ends of the remaining stretches and the points where they
// meet; a piece is the part of a stretch between two consecutive vertices along it.
#pragma once

#include <vector>

#include "arrangement/weights.hpp"
#include "exact/vec3.hpp"

namespace brevant {

inline constexpr int kConstraint = -1;

struct Segment2 {
    Point2 from, to;
    int owner;
};

struct SplitPiece {
    int from, to;     // vertex numbers, different
    Weights weights;  // along from → to
    bool constraint;  // a constraint lies along it
};

struct SegmentSplit {
    std::vector<Point2> points;      // the vertices, by number (some may lie on no piece)
    std::vector<SplitPiece> pieces;  // no two on one edge
};

SegmentSplit split_segments(const std::vector<Segment2>& segments);

}  // namespace brevant
