#include "arrangement/ray_hit.hpp"

#include <algorithm>

#include "exact/interrupt.hpp"

namespace brevant {
namespace {

// Whether x lies strictly beyond `from` in the ray's direction.
bool ahead(const Rational& x, const Rational& from, int dx) { return dx < 0 ? x < from : from < x; }

struct Candidate {
    Rational x;
    int vertex;
    int edge;
};

// Where the edge p → q meets the horizontal line y = origin.y ahead of the origin, if it does.
std::optional<Candidate> meet(const Arrangement& a, int e, const Point2& origin, int dx) {
    const int u = a.origin[2 * e], v = a.origin[2 * e + 1];
    const Point2& p = a.points[u];
    const Point2& q = a.points[v];
    const Rational& y = origin[1];
    if (p[1] == y && q[1] == y) {
        // Along the ray the edge starts at its end nearer the origin.
        const bool p_nearer = dx < 0 ? q[0] < p[0] : p[0] < q[0];
        const int near = p_nearer ? u : v;
        const Rational& x = a.points[near][0];
        if (!ahead(x, origin[0], dx)) return std::nullopt;
        return Candidate{x, near, -1};
    }
    if (p[1] == y) {
        if (!ahead(p[0], origin[0], dx)) return std::nullopt;
        return Candidate{p[0], u, -1};
    }
    if (q[1] == y) {
        if (!ahead(q[0], origin[0], dx)) return std::nullopt;
        return Candidate{q[0], v, -1};
    }
    if ((p[1] < y) == (q[1] < y)) return std::nullopt;
    Rational x = p[0] + (y - p[1]) * (q[0] - p[0]) / (q[1] - p[1]);
    if (!ahead(x, origin[0], dx)) return std::nullopt;
    return Candidate{std::move(x), -1, e};
}

// The edges' ends as index points, the frame taking in every end first.
std::vector<std::array<FloatPoint, 2>> index_ends(const Arrangement& a, const std::vector<int>& edges, IndexFrame& frame) {
    std::vector<std::array<FloatPoint, 2>> ends;
    ends.reserve(edges.size());
    for (int e : edges) {
        ends.push_back({shadow(a.points[a.origin[2 * e]]), shadow(a.points[a.origin[2 * e + 1]])});
        for (int k : {0, 1}) frame.include(a.points[a.origin[2 * e + k]], ends.back()[k]);
    }
    for (std::size_t i = 0; i < edges.size(); ++i) {
        for (int k : {0, 1}) ends[i][k] = frame(a.points[a.origin[2 * edges[i] + k]], ends[i][k]);
    }
    return ends;
}

}  // namespace

HorizontalRays::HorizontalRays(const Arrangement& a, const std::vector<int>& edges)
    : a_(a), edges_(edges), tree_(index_ends(a, edges, frame_)) {}

// A hit's index point (g(x), g(y)) lies in the box of its edge's ends' index points, and so in the
// root, and the leaf holding it lists the edge. The walk keeps y = g(origin y) and visits, leaf by
// leaf, the index x-coordinates from g(origin x) onwards, so it meets every hit's leaf in the
// order of their index points.
std::optional<RayHit> HorizontalRays::first_hit(const Point2& origin, int dx, const std::function<bool(int)>& counts) const {
    if (edges_.empty()) return std::nullopt;
    const SegmentTree::Square& root = tree_.root();
    const FloatPoint start = frame_(origin, shadow(origin));
    if (start[1] < root.y0 || start[1] > root.y1 || (dx < 0 ? start[0] < root.x0 : start[0] > root.x1)) return std::nullopt;
    double x = std::clamp(start[0], root.x0, root.x1);
    std::optional<Candidate> best;
    double best_x = 0.0;  // g(best x)
    for (;;) {
        const SegmentTree::Node& leaf = tree_.nodes()[tree_.leaf_at({x, start[1]}, dx)];
        for (int i = leaf.begin; i < leaf.end; ++i) {
            poll_interrupt();
            const int e = edges_[tree_.members()[i]];
            if (counts && !counts(e)) continue;
            std::optional<Candidate> c = meet(a_, e, origin, dx);
            if (c && (!best || ahead(best->x, c->x, dx))) {
                best = std::move(c);
                best_x = frame_(best->x, best->x.to_double());
            }
        }
        // A hit not met yet has g(x) beyond the leaf's far side: beyond best's, so further away.
        const double far_side = dx < 0 ? leaf.square.x0 : leaf.square.x1;
        if (best && (dx < 0 ? best_x >= far_side : best_x <= far_side)) break;
        if (dx < 0 ? far_side <= root.x0 : far_side >= root.x1) break;
        x = far_side;
    }
    if (!best) return std::nullopt;
    RayHit hit{{best->x, origin[1]}, best->vertex, -1};
    if (best->vertex < 0) {
        // The origin lies on the left of the half-edge that runs downward when the ray runs to −x.
        const int even = 2 * best->edge;
        const bool even_goes_down = a_.points[a_.dest(even)][1] < a_.points[a_.origin[even]][1];
        hit.half_edge = (even_goes_down == (dx < 0)) ? even : even + 1;
    }
    return hit;
}

int cycle_before_hit(const Arrangement& a, const RayHit& hit, int dx) {
    if (hit.vertex < 0) return a.cycle[hit.half_edge];
    return a.cycle[wedge_containing(a, hit.vertex, {Rational(-dx), Rational()})];
}

}  // namespace brevant
