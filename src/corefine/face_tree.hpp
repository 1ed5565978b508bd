// A bounding-box hierarchy over the faces of a solid, on double shadows widened by a margin far
// above their rounding, so that it only ever skips faces that exact geometry would skip too.
//
// Notation: a Box3 is [lo, hi] per axis. Leaves hold a few faces; a node's box holds its
// children's. Walks use an explicit stack.
#pragma once

#include <array>
#include <vector>

#include "exact/vec3.hpp"

namespace brevant {

struct Box3 {
    std::array<double, 3> lo, hi;
    bool overlaps(const Box3& other) const;
    void extend(const Box3& other);
};

// A box around the points, widened by a margin far above the rounding of their shadows; all of
// space when a shadow is infinite or NaN (a coordinate beyond the double range).
Box3 widened_box(const std::vector<std::array<double, 3>>& points);

class FaceTree {
public:
    // boxes[i] is face i's box, already widened. With `keep_order` the faces come in an order that
    // already keeps neighbours together (the leaf order of an earlier tree, with faces dropped and
    // a few added near where they came from), and the tree splits that order in halves instead of
    // sorting it again: linear instead of n log n.
    explicit FaceTree(std::vector<Box3> boxes, bool keep_order = false);

    // The faces in leaf order: neighbours in space mostly neighbours here.
    const std::vector<int>& order() const { return order_; }

    // Calls visit(face) for every face whose box overlaps `box`.
    template <typename Visit>
    void overlapping(const Box3& box, Visit visit) const {
        walk([&](const Box3& b) { return b.overlaps(box); }, visit);
    }

    // Calls visit(face) for every face whose box the ray x + t·d, t >= 0, may reach, where
    // `origin` is x rounded to doubles (correctly, or infinite beyond their range) and `direction`
    // is d exactly (integers below 2^53).
    template <typename Visit>
    void along_ray(const std::array<double, 3>& origin, const std::array<double, 3>& direction, Visit visit) const {
        walk([&](const Box3& b) { return ray_meets(b, origin, direction); }, visit);
    }

    const Box3& box(int face) const { return boxes_[face]; }

private:
    struct Node {
        Box3 box;
        int first, count;  // a leaf's faces in order_[first, first + count); count 0 for an inner node
        int left, right;
    };

    template <typename Test, typename Visit>
    void walk(Test test, Visit visit) const {
        if (nodes_.empty()) return;
        std::vector<int> stack{0};
        while (!stack.empty()) {
            const Node& node = nodes_[stack.back()];
            stack.pop_back();
            if (!test(node.box)) continue;
            if (node.count > 0) {
                for (int i = node.first; i < node.first + node.count; ++i) {
                    if (test(boxes_[order_[i]])) visit(order_[i]);
                }
            } else {
                stack.push_back(node.left);
                stack.push_back(node.right);
            }
        }
    }

    static bool ray_meets(const Box3& b, const std::array<double, 3>& origin, const std::array<double, 3>& direction);

    std::vector<Box3> boxes_;
    std::vector<int> order_;
    std::vector<Node> nodes_;
};

}  // namespace brevant
