#include "solid/cap_triangulation.hpp"

#include <algorithm>
#include <map>
#include <string>

#include "exact/interrupt.hpp"
#include "solid/touching_clip.hpp"

namespace brevant {
namespace {

// A stretch [lo, hi] of a line, +1 when the edge runs towards hi and −1 when it runs towards lo.
struct Stretch {
    Rational lo, hi;
    int sign;
};

// A line as (ux, uy, moment): u is the direction scaled to ux = 1 (or (0, 1) when vertical), so
// it is the same for both senses of an edge, and the moment a.x·uy − a.y·ux is the same for
// every point a of the line.
using LineKey = std::array<Rational, 3>;

Point2 line_direction(const Point2& a, const Point2& b) {
    const Rational dx = b[0] - a[0];
    const Rational dy = b[1] - a[1];
    if (dx.is_zero()) return {Rational(0), Rational(1)};
    return {Rational(1), dy / dx};
}

Rational along(const Point2& p, const Point2& u) { return p[0] * u[0] + p[1] * u[1]; }

bool stretches_cancel(const std::vector<Stretch>& stretches) {
    std::vector<Rational> ends;
    for (const Stretch& s : stretches) {
        ends.push_back(s.lo);
        ends.push_back(s.hi);
    }
    std::sort(ends.begin(), ends.end());
    ends.erase(std::unique(ends.begin(), ends.end()), ends.end());
    for (std::size_t k = 0; k + 1 < ends.size(); ++k) {
        int sum = 0;
        for (const Stretch& s : stretches) {
            poll_interrupt();  // quadratic in the number of edges on one line
            if (s.lo <= ends[k] && ends[k + 1] <= s.hi) sum += s.sign;
        }
        if (sum != 0) return false;
    }
    return true;
}

// A line through an edge of s with all of t on its outer side (touching allowed) separates them.
bool has_separating_edge(const Triangle2& s, const Triangle2& t) {
    for (std::size_t e = 0; e < 3; ++e) {
        const Point2& p = s[e];
        const Point2& q = s[(e + 1) % 3];
        if (std::all_of(t.begin(), t.end(), [&](const Point2& r) { return orient2(p, q, r).sign() <= 0; })) {
            return true;
        }
    }
    return false;
}

Rational doubled_area(const Triangle2& t) { return orient2(t[0], t[1], t[2]); }

// A triangle's exact bounding box.
struct TriangleBox {
    const Triangle2* triangle;
    Rational lo[2], hi[2];
};

TriangleBox box_of(const Triangle2& t) {
    TriangleBox b{&t, {t[0][0], t[0][1]}, {t[0][0], t[0][1]}};
    for (const Point2& p : t) {
        for (std::size_t k = 0; k < 2; ++k) {
            if (p[k] < b.lo[k]) b.lo[k] = p[k];
            if (b.hi[k] < p[k]) b.hi[k] = p[k];
        }
    }
    return b;
}

// No two triangles of positive area overlap inside. Triangles whose boxes at most touch have
// interiors apart, and for two convex polygons with interiors apart some edge's line has the other
// on its outer side (an edge of their Minkowski difference separates it from the origin), so
// interiors_overlap says no for them too: only pairs whose boxes overlap are tested, found by a
// sweep along x.
bool interiors_apart(std::vector<TriangleBox>& boxes) {
    std::sort(boxes.begin(), boxes.end(), [](const TriangleBox& a, const TriangleBox& b) { return a.lo[0] < b.lo[0]; });
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        for (std::size_t j = i + 1; j < boxes.size() && boxes[j].lo[0] < boxes[i].hi[0]; ++j) {
            poll_interrupt();  // every pair of triangles whose boxes meet along x
            if (!(boxes[j].lo[1] < boxes[i].hi[1] && boxes[i].lo[1] < boxes[j].hi[1])) continue;
            if (interiors_overlap(*boxes[i].triangle, *boxes[j].triangle)) return false;
        }
    }
    return true;
}

bool covers_loop(const EarClipping& clipping) {
    if (!clipping.remainder.empty() && !edges_cancel(clipping.remainder)) return false;
    std::vector<TriangleBox> solid_triangles;
    for (const Triangle2& t : clipping.triangles) {
        const int sign = doubled_area(t).sign();
        if (sign < 0) return false;
        if (sign > 0) solid_triangles.push_back(box_of(t));
    }
    return interiors_apart(solid_triangles);
}

}  // namespace

bool edges_cancel(const std::vector<Point2>& loop) {
    std::map<LineKey, std::vector<Stretch>> lines;
    const std::size_t n = loop.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Point2& a = loop[i];
        const Point2& b = loop[(i + 1) % n];
        if (a == b) continue;
        const Point2 u = line_direction(a, b);
        const Rational ta = along(a, u);
        const Rational tb = along(b, u);
        Stretch stretch = ta < tb ? Stretch{ta, tb, 1} : Stretch{tb, ta, -1};
        lines[{u[0], u[1], a[0] * u[1] - a[1] * u[0]}].push_back(std::move(stretch));
    }
    return std::all_of(lines.begin(), lines.end(), [](const auto& line) { return stretches_cancel(line.second); });
}

bool interiors_overlap(const Triangle2& s, const Triangle2& t) {
    return !has_separating_edge(s, t) && !has_separating_edge(t, s);
}

std::optional<std::vector<Triangle2>> triangulate_cap(const std::vector<Point2>& loop) {
    // The open-triangle rule is tried first because its triangles are the expected ones wherever
    // it is right; it goes wrong only when a vertex lies on a diagonal, which the closed rule
    // refuses to cut across. Both go wrong where the loop touches itself, which the last clipping
    // handles at the price of triangles unlike those of the other two.
    for (Blocking blocking : {Blocking::OpenTriangle, Blocking::ClosedTriangle}) {
        EarClipping clipping = clip_ears(loop, blocking);
        if (covers_loop(clipping)) return std::move(clipping.triangles);
    }
    EarClipping clipping = clip_touching_ears(loop);
    if (covers_loop(clipping)) return std::move(clipping.triangles);
    return std::nullopt;
}

}  // namespace brevant
