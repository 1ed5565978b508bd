#include "arrangement/arrangement.hpp"

#include <algorithm>
#include <cstdint>

#include "arrangement/flat_index.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

// 0 for directions in [0°, 180°), 1 for [180°, 360°).
int half_plane(const Point2& d) { return d[1].sign() > 0 || (d[1].is_zero() && d[0].sign() > 0) ? 0 : 1; }

// A pair of vertex numbers packed in one word, mixed (splitmix64's finaliser) so that nearby pairs
// spread over the table.
struct MixedHash {
    std::size_t operator()(std::uint64_t x) const {
        x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
        x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
        return x ^ (x >> 31);
    }
};

void add_edges(Arrangement& a, std::vector<SplitPiece>& pieces) {
    FlatIndex<std::uint64_t, MixedHash> edge_of;
    for (SplitPiece& p : pieces) {
        poll_interrupt();
        const int lo = std::min(p.from, p.to), hi = std::max(p.from, p.to);
        const auto [edge, added] = edge_of.intern(std::uint64_t(lo) << 32 | std::uint32_t(hi));
        if (added) {
            a.origin.push_back(lo);
            a.origin.push_back(hi);
            a.weights.push_back(p.from == lo ? std::move(p.weights) : combine({}, p.weights, -1));
            a.constrained.push_back(p.constraint);
        } else {
            a.weights[edge] = combine(a.weights[edge], p.weights, p.from == lo ? 1 : -1);
            a.constrained[edge] |= p.constraint;
        }
    }
}

void sort_rotations(Arrangement& a) {
    const std::size_t vertices = a.points.size();
    a.rotation_start.assign(vertices + 1, 0);
    for (int v : a.origin) ++a.rotation_start[v + 1];
    for (std::size_t v = 0; v < vertices; ++v) a.rotation_start[v + 1] += a.rotation_start[v];
    a.rotation.assign(a.origin.size(), 0);
    std::vector<int> fill(a.rotation_start.begin(), a.rotation_start.end() - 1);
    for (std::size_t h = 0; h < a.origin.size(); ++h) a.rotation[fill[a.origin[h]]++] = static_cast<int>(h);

    std::vector<Point2> directions;
    directions.reserve(a.origin.size());
    for (std::size_t h = 0; h < a.origin.size(); ++h) directions.push_back(a.direction(static_cast<int>(h)));
    a.rotation_index.assign(a.origin.size(), 0);
    for (std::size_t v = 0; v < vertices; ++v) {
        poll_interrupt();
        auto first = a.rotation.begin() + a.rotation_start[v], last = a.rotation.begin() + a.rotation_start[v + 1];
        std::sort(first, last, [&](int g, int h) { return angle_less(directions[g], directions[h]); });
        for (auto it = first; it != last; ++it) a.rotation_index[*it] = static_cast<int>(it - a.rotation.begin());
    }
}

void trace_cycles(Arrangement& a) {
    const int halves = static_cast<int>(a.origin.size());
    a.next.assign(halves, -1);
    for (int h = 0; h < halves; ++h) a.next[h] = a.clockwise(Arrangement::twin(h));
    a.cycle.assign(halves, -1);
    for (int h = 0; h < halves; ++h) {
        if (a.cycle[h] >= 0) continue;
        const int id = a.cycle_count();
        Rational area2;
        int g = h;
        do {
            poll_interrupt();
            a.cycle[g] = id;
            const Point2& p = a.points[a.origin[g]];
            const Point2& q = a.points[a.dest(g)];
            area2 += p[0] * q[1] - q[0] * p[1];
            g = a.next[g];
        } while (g != h);
        a.cycle_first.push_back(h);
        a.cycle_area2.push_back(std::move(area2));
    }
}

}  // namespace

bool angle_less(const Point2& u, const Point2& v) {
    const int hu = half_plane(u), hv = half_plane(v);
    if (hu != hv) return hu < hv;
    return (u[0] * v[1] - u[1] * v[0]).sign() > 0;
}

Weights Arrangement::weights_along(int h) const {
    if (h % 2 == 0) return weights[h / 2];
    return combine({}, weights[h / 2], -1);
}

int Arrangement::clockwise(int h) const {
    const int v = origin[h];
    const int first = rotation_start[v], degree = rotation_start[v + 1] - first;
    return rotation[first + (rotation_index[h] - first + degree - 1) % degree];
}

Point2 Arrangement::direction(int h) const {
    const Point2& p = points[origin[h]];
    const Point2& q = points[dest(h)];
    return {q[0] - p[0], q[1] - p[1]};
}

Arrangement build_arrangement(const std::vector<Segment2>& segments) {
    SegmentSplit split = split_segments(segments);
    Arrangement a;
    a.points = std::move(split.points);
    add_edges(a, split.pieces);
    sort_rotations(a);
    trace_cycles(a);
    return a;
}

int wedge_containing(const Arrangement& a, int vertex, const Point2& direction) {
    const int first = a.rotation_start[vertex], last = a.rotation_start[vertex + 1];
    int found = a.rotation[last - 1];  // a direction before every half-edge lies in the wrapping wedge
    for (int i = first; i < last && angle_less(a.direction(a.rotation[i]), direction); ++i) found = a.rotation[i];
    return found;
}

}  // namespace brevant
