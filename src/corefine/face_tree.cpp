#include "corefine/face_tree.hpp"

#include <algorithm>
#include <cmath>

namespace brevant {

bool Box3::overlaps(const Box3& other) const {
    for (int a = 0; a < 3; ++a) {
        if (hi[a] < other.lo[a] || other.hi[a] < lo[a]) return false;
    }
    return true;
}

void Box3::extend(const Box3& other) {
    for (int a = 0; a < 3; ++a) {
        lo[a] = std::min(lo[a], other.lo[a]);
        hi[a] = std::max(hi[a], other.hi[a]);
    }
}

FaceTree::FaceTree(std::vector<Box3> boxes) : boxes_(std::move(boxes)) {
    constexpr int kLeafSize = 4;
    order_.resize(boxes_.size());
    for (std::size_t i = 0; i < order_.size(); ++i) order_[i] = static_cast<int>(i);
    if (order_.empty()) return;
    struct Task {
        int node, first, count;
    };
    nodes_.push_back({});
    std::vector<Task> tasks{{0, 0, static_cast<int>(order_.size())}};
    while (!tasks.empty()) {
        const Task task = tasks.back();
        tasks.pop_back();
        Box3 box = boxes_[order_[task.first]];
        for (int i = task.first + 1; i < task.first + task.count; ++i) box.extend(boxes_[order_[i]]);
        nodes_[task.node].box = box;
        if (task.count <= kLeafSize) {
            nodes_[task.node].first = task.first;
            nodes_[task.node].count = task.count;
            continue;
        }
        // Split at the median centre along the box's longest axis.
        int axis = 0;
        for (int a = 1; a < 3; ++a) {
            if (box.hi[a] - box.lo[a] > box.hi[axis] - box.lo[axis]) axis = a;
        }
        const auto first = order_.begin() + task.first, last = first + task.count, middle = first + task.count / 2;
        std::nth_element(first, middle, last, [&](int x, int y) {
            return boxes_[x].lo[axis] + boxes_[x].hi[axis] < boxes_[y].lo[axis] + boxes_[y].hi[axis];
        });
        const int left = static_cast<int>(nodes_.size());
        nodes_.push_back({});
        nodes_.push_back({});
        nodes_[task.node].count = 0;
        nodes_[task.node].left = left;
        nodes_[task.node].right = left + 1;
        tasks.push_back({left, task.first, task.count / 2});
        tasks.push_back({left + 1, task.first + task.count / 2, task.count - task.count / 2});
    }
}

bool FaceTree::ray_meets(const Box3& b, const std::array<double, 3>& origin, const std::array<double, 3>& direction) {
    double enter = 0.0, leave = INFINITY;
    for (int a = 0; a < 3; ++a) {
        if (direction[a] == 0.0) {
            if (origin[a] < b.lo[a] || origin[a] > b.hi[a]) return false;
            continue;
        }
        double t0 = (b.lo[a] - origin[a]) / direction[a], t1 = (b.hi[a] - origin[a]) / direction[a];
        if (t0 > t1) std::swap(t0, t1);
        enter = std::max(enter, t0);
        leave = std::min(leave, t1);
    }
    // The slab test in doubles errs by far less than the margin the boxes carry.
    return enter <= leave;
}

}  // namespace brevant
