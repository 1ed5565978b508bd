#include "arrangement/segment_tree.hpp"

#include <algorithm>
#include <cmath>
#include <deque>

#include "exact/interrupt.hpp"

namespace brevant {
namespace {

constexpr std::size_t kLeafSize = 12;
constexpr std::size_t kListingsPerSegment = 16;

std::array<SegmentTree::Square, 4> quarters(const SegmentTree::Square& q) {
    const double mx = 0.5 * (q.x0 + q.x1), my = 0.5 * (q.y0 + q.y1);
    return {{{q.x0, q.y0, mx, my}, {mx, q.y0, q.x1, my}, {q.x0, my, mx, q.y1}, {mx, my, q.x1, q.y1}}};
}

}  // namespace

SegmentTree::SegmentTree(const std::vector<std::array<FloatPoint, 2>>& ends) {
    segments_.reserve(ends.size());
    Square box{INFINITY, INFINITY, -INFINITY, -INFINITY};
    double largest = 0.0;
    for (const auto& [a, c] : ends) {
        segments_.push_back({a, c, {std::min(a[0], c[0]), std::min(a[1], c[1]), std::max(a[0], c[0]), std::max(a[1], c[1])}});
        const Square& b = segments_.back().box;
        box = {std::min(box.x0, b.x0), std::min(box.y0, b.y0), std::max(box.x1, b.x1), std::max(box.y1, b.y1)};
        largest = std::max({largest, std::fabs(b.x0), std::fabs(b.y0), std::fabs(b.x1), std::fabs(b.y1)});
    }
    if (segments_.empty()) box = {0.0, 0.0, 0.0, 0.0};
    // Index coordinates are at most 2^1020, so the spans, the side and the corners below are finite.
    margin_ = 1e-9 * std::max({largest, box.x1 - box.x0, box.y1 - box.y0}) + 1e-300;
    const double side = std::max(box.x1 - box.x0, box.y1 - box.y0) + 4 * margin_;
    nodes_.push_back({{box.x0 - 2 * margin_, box.y0 - 2 * margin_, box.x0 - 2 * margin_ + side, box.y0 - 2 * margin_ + side}});
    smallest_ = 1e3 * margin_;
    build(static_cast<int>(segments_.size()));
}

// Squares of side at least 1000m keep their middle strictly inside (m is far above the spacing of
// doubles there), so there are at most about 2^21 of them along a side of the root. Segments that
// cannot be told apart by splitting (many long ones side by side, or crowding one point) would
// still be listed in up to 2^21 squares each, so a square stays a leaf once the listings
// would pass a budget linear in the segments; squares are split breadth first, so the budget
// goes to the coarse levels everywhere before the fine ones anywhere.
void SegmentTree::build(int segments) {
    struct Pending {
        int node;
        std::vector<int> members;
    };
    const std::size_t budget = kListingsPerSegment * static_cast<std::size_t>(segments) + 4096;
    std::size_t listed = static_cast<std::size_t>(segments);  // in leaves and pending squares
    std::deque<Pending> queue;
    queue.push_back({0, std::vector<int>(segments)});
    for (int s = 0; s < segments; ++s) queue.back().members[s] = s;
    auto make_leaf = [&](const Pending& pending) {
        nodes_[pending.node].begin = static_cast<int>(members_.size());
        members_.insert(members_.end(), pending.members.begin(), pending.members.end());
        nodes_[pending.node].end = static_cast<int>(members_.size());
    };
    while (!queue.empty()) {
        poll_interrupt();
        Pending pending = std::move(queue.front());
        queue.pop_front();
        const Square square = nodes_[pending.node].square;
        if (pending.members.size() <= kLeafSize || square.x1 - square.x0 < smallest_) {
            make_leaf(pending);
            continue;
        }
        const std::array<Square, 4> parts = quarters(square);
        std::array<std::vector<int>, 4> lists;
        std::size_t added = 0;
        for (int k = 0; k < 4; ++k) {
            const Square widened{parts[k].x0 - margin_, parts[k].y0 - margin_, parts[k].x1 + margin_, parts[k].y1 + margin_};
            for (int s : pending.members) {
                if (passes_through(segments_[s], widened)) lists[k].push_back(s);
            }
            added += lists[k].size();
        }
        if (listed + added - pending.members.size() > budget) {
            make_leaf(pending);
            continue;
        }
        listed += added - pending.members.size();
        nodes_[pending.node].first_child = static_cast<int>(nodes_.size());
        for (int k = 0; k < 4; ++k) {
            nodes_.push_back({parts[k]});
            queue.push_back({static_cast<int>(nodes_.size()) - 1, std::move(lists[k])});
        }
    }
}

int SegmentTree::leaf_at(const FloatPoint& p, int dx) const {
    int n = 0;
    while (nodes_[n].first_child >= 0) {
        const Square& q = nodes_[n].square;
        const double mx = 0.5 * (q.x0 + q.x1), my = 0.5 * (q.y0 + q.y1);
        const bool right = dx < 0 ? p[0] > mx : p[0] >= mx;
        n = nodes_[n].first_child + (right ? 1 : 0) + (p[1] > my ? 2 : 0);
    }
    return n;
}

// Why a segment is listed in every square whose closed square holds the index point g(P) of one
// of its exact points P = A + λ(C − A), 0 <= λ <= 1. The box of the ends' index points holds g(P)
// by monotony, so a box apart from the widened square rules the segment out soundly, and a box
// inside it lists the segment. Otherwise, let u = 2^-53 and E the largest index coordinate. Every
// index coordinate is within u·E' + 2^-1074 of the scaled exact one, where E' <= (1 + u)E is the
// largest scaled exact magnitude. g(P) therefore lies within δ = 2(u·E' + 2^-1074) of the point
// a + λ(c − a) of the segment between the ends' index points a and c: that segment meets the square
// widened by δ at λ. The test clips [0, 1] to the square widened by m = 1e-9·E + 1e-300 > 2^20·δ;
// rounding the widened sides leaves a widening m' >= 0.99m. In an axis where the segment moves by
// d ≠ 0, the exact clip bounds for that square lie at least (m' − δ)/|d| beyond λ on both sides; the
// computed bounds fl(fl(b − a)/d) are within 2.01u·|b − a|/|d| <= 6.1u·E/|d| of the exact ones
// (|b − a| <= 3E), or infinite with the right sign where the quotient overflows. Since
// m' − δ > 6.1u·E, every lower bound stays at most λ and every upper bound at least λ:
// lo <= λ <= hi. An axis where d = 0 is decided by the box test.
bool SegmentTree::passes_through(const Listed& s, const Square& widened) const {
    const Square& b = s.box;
    if (b.x1 < widened.x0 || b.x0 > widened.x1 || b.y1 < widened.y0 || b.y0 > widened.y1) return false;
    if (widened.x0 <= b.x0 && b.x1 <= widened.x1 && widened.y0 <= b.y0 && b.y1 <= widened.y1) return true;
    const double low[2] = {widened.x0, widened.y0}, high[2] = {widened.x1, widened.y1};
    double lo = 0.0, hi = 1.0;
    for (int axis = 0; axis < 2; ++axis) {
        const double d = s.c[axis] - s.a[axis];
        if (d == 0.0) continue;  // the box test above has decided this axis
        double t0 = (low[axis] - s.a[axis]) / d, t1 = (high[axis] - s.a[axis]) / d;
        if (t0 > t1) std::swap(t0, t1);
        lo = std::max(lo, t0);
        hi = std::min(hi, t1);
    }
    return lo <= hi;
}

}  // namespace brevant
