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

Box3 widened_box(const std::vector<std::array<double, 3>>& points) {
    Box3 box{{INFINITY, INFINITY, INFINITY}, {-INFINITY, -INFINITY, -INFINITY}};
    for (const std::array<double, 3>& p : points) {
        for (int a = 0; a < 3; ++a) {
            if (!std::isfinite(p[a])) return {{-INFINITY, -INFINITY, -INFINITY}, {INFINITY, INFINITY, INFINITY}};
            box.lo[a] = std::min(box.lo[a], p[a]);
            box.hi[a] = std::max(box.hi[a], p[a]);
        }
    }
    for (int a = 0; a < 3; ++a) {
        const double margin = 1e-9 * std::max(std::fabs(box.lo[a]), std::fabs(box.hi[a])) + 1e-300;
        box.lo[a] -= margin;
        box.hi[a] += margin;
    }
    return box;
}

void Box3::extend(const Box3& other) {
    for (int a = 0; a < 3; ++a) {
        lo[a] = std::min(lo[a], other.lo[a]);
        hi[a] = std::max(hi[a], other.hi[a]);
    }
}

FaceTree::FaceTree(std::vector<Box3> boxes, bool keep_order) : boxes_(std::move(boxes)) {
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
        if (!keep_order) {
            // Split at the median centre along the box's longest axis.
            int axis = 0;
            for (int a = 1; a < 3; ++a) {
                if (box.hi[a] - box.lo[a] > box.hi[axis] - box.lo[axis]) axis = a;
            }
            const auto first = order_.begin() + task.first, last = first + task.count, middle = first + task.count / 2;
            std::nth_element(first, middle, last, [&](int x, int y) {
                return boxes_[x].lo[axis] + boxes_[x].hi[axis] < boxes_[y].lo[axis] + boxes_[y].hi[axis];
            });
        }
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

// Why the test never turns away a box that the exact ray meets. Let u = 2^-53. The origin o is
// x rounded: |o_a − x_a| <= u·|x_a| + 2^-1075 <= 2u·|o_a| + 2^-1075. The box is widened by
// e_a = 2^-50·(|o_a| + |lo_a| + |hi_a|) + 2^-1000 (its rounding, and that of lo_a − e_a, cost
// under e_a/4), so the ray from o meets the widened box wherever the ray from x meets the box:
// each of its points moves by o − x. Each slab parameter (lo' − o_a)/d_a is then computed within
// 2u relative (a difference and a quotient; d_a is exact) and 2^-1074 absolute (underflow), so
// if the exact slabs overlap, the computed enter exceeds the computed leave by less than
// 2^-50·|leave| + 2^-1000. A parameter that overflows, or an origin beyond the double range,
// proves nothing, and the box counts as met.
bool FaceTree::ray_meets(const Box3& b, const std::array<double, 3>& origin, const std::array<double, 3>& direction) {
    double enter = 0.0, leave = INFINITY;
    for (int a = 0; a < 3; ++a) {
        const double e = 0x1p-50 * ((std::fabs(origin[a]) + std::fabs(b.lo[a])) + std::fabs(b.hi[a])) + 0x1p-1000;
        const double lo = b.lo[a] - e, hi = b.hi[a] + e;
        if (direction[a] == 0.0) {
            if (origin[a] < lo || origin[a] > hi) return false;
            continue;
        }
        double t0 = (lo - origin[a]) / direction[a], t1 = (hi - origin[a]) / direction[a];
        if (!std::isfinite(t0) || !std::isfinite(t1)) return true;
        if (t0 > t1) std::swap(t0, t1);
        enter = std::max(enter, t0);
        leave = std::min(leave, t1);
    }
    return enter <= leave + std::fabs(leave) * 0x1p-50 + 0x1p-1000;
}

}  // namespace brevant
