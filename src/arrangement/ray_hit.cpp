#include "arrangement/ray_hit.hpp"

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

}  // namespace

std::optional<RayHit> first_hit_along_x(const Arrangement& a, const Point2& origin, int dx, const std::vector<int>& edges) {
    std::optional<Candidate> best;
    for (int e : edges) {
        poll_interrupt();
        std::optional<Candidate> c = meet(a, e, origin, dx);
        if (c && (!best || ahead(best->x, c->x, dx))) best = std::move(c);
    }
    if (!best) return std::nullopt;
    RayHit hit{{best->x, origin[1]}, best->vertex, -1};
    if (best->vertex < 0) {
        // The origin lies on the left of the half-edge that runs downward when the ray runs to −x.
        const int even = 2 * best->edge;
        const bool even_goes_down = a.points[a.dest(even)][1] < a.points[a.origin[even]][1];
        hit.half_edge = (even_goes_down == (dx < 0)) ? even : even + 1;
    }
    return hit;
}

int cycle_before_hit(const Arrangement& a, const RayHit& hit, int dx) {
    if (hit.vertex < 0) return a.cycle[hit.half_edge];
    return a.cycle[wedge_containing(a, hit.vertex, {Rational(-dx), Rational()})];
}

}  // namespace brevant
