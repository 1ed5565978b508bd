// A quadtree over segments of the plane, built on the index points of their ends
// (arrangement/index_frame.hpp), for finding segments that may meet and the segments a
// horizontal ray may hit.
//
// Notation: the root is a square holding every index point, widened by the margin m; a square is
// split into four closed quarters at its middle while it holds more than a few segments and its side
// is above 1000m. A segment is listed in a square when it may meet the square widened by m. So for
// every point P of an exact segment whose index point lies in a leaf's closed square, the leaf
// lists the segment (see segment_tree.cpp): two segments that meet share a leaf, and a ray at
// height y hits a segment at x only where the leaf holding the index point (x, y) lists it.
#pragma once

#include <array>
#include <vector>

#include "arrangement/index_frame.hpp"

namespace brevant {

class SegmentTree {
public:
    struct Square {
        double x0, y0, x1, y1;
    };
    struct Node {
        Square square;
        int first_child = -1;  // the four quarters are nodes first_child … first_child + 3; −1 for a leaf
        int begin = 0, end = 0;  // a leaf's segments: members()[begin … end)
    };

    // The segments by the index points of their ends.
    explicit SegmentTree(const std::vector<std::array<FloatPoint, 2>>& ends);

    const std::vector<Node>& nodes() const { return nodes_; }
    const std::vector<int>& members() const { return members_; }
    const Square& root() const { return nodes_.front().square; }
    // The leaf whose closed square holds the index point p, which the root's square must hold;
    // where p lies on the border of two quarters, the one towards dx (±1) along x, and the lower
    // one along y.
    int leaf_at(const FloatPoint& p, int dx) const;

private:
    struct Listed {
        FloatPoint a, c;  // the ends' index points
        Square box;       // theirs
    };

    bool passes_through(const Listed& s, const Square& widened) const;
    void build(int segments);

    std::vector<Listed> segments_;
    double margin_ = 0.0, smallest_ = 0.0;
    std::vector<Node> nodes_;
    std::vector<int> members_;
};

}  // namespace brevant
