#include "arrangement/ray_hit.hpp"

#include <algorithm>
#include <cmath>

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

HorizontalRays::HorizontalRays(const Arrangement& a, const std::vector<int>& edges) : a_(a) {
    std::vector<std::array<double, 2>> ranges;  // per listed edge, its y-range in doubles
    double lo = INFINITY, hi = -INFINITY, largest = 0.0;
    bool finite = true;
    for (int e : edges) {
        const double y1 = a.points[a.origin[2 * e]][1].to_double(), y2 = a.points[a.origin[2 * e + 1]][1].to_double();
        ranges.push_back({std::min(y1, y2), std::max(y1, y2)});
        lo = std::min(lo, ranges.back()[0]);
        hi = std::max(hi, ranges.back()[1]);
        largest = std::max({largest, std::fabs(y1), std::fabs(y2)});
        finite = finite && std::isfinite(y1) && std::isfinite(y2);
    }
    if (finite && hi > lo) {
        bands_ = static_cast<int>(std::clamp<std::size_t>(edges.size() / 4, 1, 4096));
        y0_ = lo;
        height_ = (hi - lo) / bands_;
        margin_ = 1e-9 * std::max(largest, hi - lo);
    }
    start_.assign(bands_ + 1, 0);
    auto each_band = [&](auto visit) {
        for (std::size_t i = 0; i < edges.size(); ++i) {
            const int first = bands_ == 1 ? 0 : band(ranges[i][0] - margin_);
            const int last = bands_ == 1 ? 0 : band(ranges[i][1] + margin_);
            for (int b = first; b <= last; ++b) visit(b, edges[i]);
        }
    };
    each_band([&](int b, int) { ++start_[b + 1]; });
    for (int b = 0; b < bands_; ++b) start_[b + 1] += start_[b];
    members_.resize(start_.back());
    std::vector<int> fill(start_.begin(), start_.end() - 1);
    each_band([&](int b, int e) { members_[fill[b]++] = e; });
}

int HorizontalRays::band(double y) const {
    return std::clamp(static_cast<int>(std::floor((y - y0_) / height_)), 0, bands_ - 1);
}

std::optional<RayHit> HorizontalRays::first_hit(const Point2& origin, int dx, const std::function<bool(int)>& counts) const {
    const int b = bands_ == 1 ? 0 : band(origin[1].to_double());
    std::optional<Candidate> best;
    for (int i = start_[b]; i < start_[b + 1]; ++i) {
        poll_interrupt();
        const int e = members_[i];
        if (counts && !counts(e)) continue;
        std::optional<Candidate> c = meet(a_, e, origin, dx);
        if (c && (!best || ahead(best->x, c->x, dx))) best = std::move(c);
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
