#include "corefine/point_location.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "arrangement/orientation.hpp"
#include "exact/failure.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

bool lower_left(const Point2& p, const Point2& q) { return p[1] < q[1] || (p[1] == q[1] && p[0] < q[0]); }

std::array<double, 2> shadow2(const Point2& p) { return {p[0].to_double(), p[1].to_double()}; }

// Directions with no simple relation to the axes or to each other, so that a ray from a point of
// small coordinates rarely runs exactly through an edge; each degenerate ray moves on to the next.
constexpr std::array<std::array<long, 3>, 8> kRays{{{97, 61, 37},
                                                    {-83, 59, 101},
                                                    {71, -89, 43},
                                                    {53, 107, -79},
                                                    {-67, -41, 113},
                                                    {109, -47, -73},
                                                    {-31, 127, 89},
                                                    {-103, -97, -59}}};

// The k-th direction: the fixed ones, then directions of a fixed pseudo-random sequence. The rays
// from a point off the surface that meet an edge or a vertex form a set of measure zero, so one of
// the next few directions serves whatever the solid.
std::array<long, 3> ray_direction(int k) {
    if (k < static_cast<int>(kRays.size())) return kRays[k];
    std::uint64_t state = 0x9e3779b97f4a7c15ULL * static_cast<std::uint64_t>(k);
    std::array<long, 3> d;
    do {
        for (long& c : d) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            c = static_cast<long>((state >> 33) % 2001) - 1000;
        }
    } while (d[0] == 0 && d[1] == 0 && d[2] == 0);
    return d;
}

// The winding of the body's faces round x along the ray x + t·d, t > 0: each face crossed counts
// +1 when the ray leaves through it (d·normal > 0) and −1 when it enters; nothing when the ray
// touches a face's boundary or runs in a face's plane.
std::optional<int> ray_winding(const Body& body, const Vec3& x, const std::array<long, 3>& direction) {
    const Vec3 d{Rational(direction[0]), Rational(direction[1]), Rational(direction[2])};
    const std::array<double, 3> xo{x[0].to_double(), x[1].to_double(), x[2].to_double()};
    const std::array<double, 3> dd{static_cast<double>(direction[0]), static_cast<double>(direction[1]),
                                   static_cast<double>(direction[2])};
    int winding = 0;
    bool degenerate = false;
    body.tree.along_ray(xo, dd, [&](int index) {
        poll_interrupt();
        if (degenerate) return;
        const BodyFace& face = *body.faces[index];
        const Rational across = dot(face.plane.normal, d);
        const Rational height = face.plane.offset - dot(face.plane.normal, x);
        if (across.is_zero()) {
            degenerate = height.is_zero();
            return;
        }
        if ((height.sign() < 0) != (across.sign() < 0) && !height.is_zero()) return;  // behind the origin
        const Rational t = height / across;
        const std::optional<int> w = face_winding(face, face.frame->project(add(x, smul(t, d))));
        if (!w || (t.is_zero() && *w != 0)) {
            degenerate = true;
        } else if (t.sign() > 0 && *w != 0) {
            winding += across.sign();
        }
    });
    if (degenerate) return std::nullopt;
    return winding;
}

}  // namespace

std::optional<int> winding_number(const std::vector<Point2>& loop, const Point2& p) {
    int w = 0;
    const std::size_t n = loop.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Point2& a = loop[i];
        const Point2& b = loop[(i + 1) % n];
        // A side whose y-range misses p's neither holds p nor crosses its horizontal ray.
        if ((a[1] < p[1] && b[1] < p[1]) || (p[1] < a[1] && p[1] < b[1])) continue;
        const int o = orient2(a, b, p).sign();
        if (o == 0) {
            if (std::min(a[0], b[0]) <= p[0] && p[0] <= std::max(a[0], b[0])) return std::nullopt;
            continue;
        }
        if (a[1] <= p[1]) {
            if (p[1] < b[1] && o > 0) ++w;
        } else if (b[1] <= p[1] && o < 0) {
            --w;
        }
    }
    return w;
}

std::optional<int> face_winding(const BodyFace& face, const Point2& p) {
    const std::array<double, 2> s = shadow2(p);
    int w = 0;
    for (const LoopPtr& loop : face.loops) {
        if (!loop->box2.contains(s)) continue;
        const std::optional<int> wl = winding_number(loop->points2, p);
        if (!wl) return std::nullopt;
        w += *wl;
    }
    return w;
}

Point2 interior_point(const LoopView& outer, const std::vector<LoopView>& others, int attempt, bool convex) {
    // The lowest vertex of the outer loop is strictly convex; the triangle it makes with its
    // neighbours is inside unless other vertices lie in it, and then the one nearest the corner
    // sees the corner along a segment inside. Points on that segment, or inside the triangle
    // towards the corner, are inside too.
    const std::vector<Point2>& o = *outer.points;
    const std::size_t n = o.size();
    const std::size_t i = static_cast<std::size_t>(std::min_element(o.begin(), o.end(), lower_left) - o.begin());
    const Point2& v = o[i];
    const Point2& prev = o[outer.reversed ? (i + 1) % n : (i + n - 1) % n];
    const Point2& next = o[outer.reversed ? (i + n - 1) % n : (i + 1) % n];
    Box2 triangle{{INFINITY, INFINITY}, {-INFINITY, -INFINITY}};
    for (const Point2* q : {&v, &prev, &next}) {
        const std::array<double, 2> s = shadow2(*q);
        for (int a = 0; a < 2; ++a) {
            triangle.lo[a] = std::min(triangle.lo[a], s[a]);
            triangle.hi[a] = std::max(triangle.hi[a], s[a]);
        }
    }
    const FloatPoint fv = shadow(v), fprev = shadow(prev), fnext = shadow(next);
    const Point2* nearest = nullptr;
    Rational nearness;
    auto consider = [&](const LoopView& loop) {
        // Loop boxes are widened far beyond rounding, so a box apart from the triangle's shadow box
        // holds no point of the closed triangle.
        if (loop.box && !loop.box->overlaps(triangle)) return;
        for (const Point2& q : *loop.points) {
            if (q == v || q == prev || q == next) continue;
            const FloatPoint fq = shadow(q);
            if (orient_sign(prev, v, q, fprev, fv, fq) < 0 || orient_sign(v, next, q, fv, fnext, fq) < 0 ||
                orient_sign(next, prev, q, fnext, fprev, fq) < 0) {
                continue;
            }
            Rational r = orient2(next, prev, q);
            if (!nearest || nearness < r) {
                nearest = &q;
                nearness = std::move(r);
            }
        }
    };
    if (!convex) consider(outer);
    for (const LoopView& loop : others) {
        poll_interrupt();
        consider(loop);
    }
    const Rational half(BigInt(1), BigInt(2)), third(BigInt(1), BigInt(3));
    Point2 x = nearest ? Point2{(v[0] + (*nearest)[0]) * half, (v[1] + (*nearest)[1]) * half}
                       : Point2{(prev[0] + v[0] + next[0]) * third, (prev[1] + v[1] + next[1]) * third};
    for (int k = 0; k < attempt; ++k) x = {(v[0] + x[0]) * half, (v[1] + x[1]) * half};
    return x;
}

std::optional<Point2> point_below(const Point2& w, const std::vector<LoopView>& loops, int attempt) {
    const std::array<double, 2> sw = shadow2(w);
    std::optional<Rational> best;  // the highest point of a loop below w on the line x = w.x
    for (const LoopView& view : loops) {
        poll_interrupt();
        if (view.box && (sw[0] < view.box->lo[0] || view.box->hi[0] < sw[0] || sw[1] < view.box->lo[1])) continue;
        const std::vector<Point2>& loop = *view.points;
        const std::size_t n = loop.size();
        for (std::size_t i = 0; i < n; ++i) {
            const Point2& a = loop[i];
            const Point2& b = loop[(i + 1) % n];
            if (a == w || b == w) continue;  // w's own sides leave it upwards or sideways
            const auto [x_lo, x_hi] = std::minmax(a[0], b[0]);
            if (w[0] < x_lo || x_hi < w[0]) continue;
            if (x_lo == x_hi) {
                // Along the line itself: its top counts; a side through w means another loop touches there.
                const auto [y_lo, y_hi] = std::minmax(a[1], b[1]);
                if (y_lo <= w[1] && w[1] <= y_hi) return std::nullopt;
                if (y_hi < w[1] && (!best || *best < y_hi)) best = y_hi;
                continue;
            }
            Rational y = a[1] + (w[0] - a[0]) * (b[1] - a[1]) / (b[0] - a[0]);
            if (y == w[1]) return std::nullopt;
            if (y < w[1] && (!best || *best < y)) best = std::move(y);
        }
    }
    if (!best) return std::nullopt;
    Rational depth = (w[1] - *best) / Rational(2);
    for (int k = 0; k < attempt; ++k) depth = depth / Rational(2);
    return Point2{w[0], w[1] - depth};
}

bool on_body_surface(const Body& body, const Vec3& x) {
    bool on = false;
    body.tree.overlapping(widened_box({to_float_vertex(x)}), [&](int index) {
        if (on) return;
        const BodyFace& face = *body.faces[index];
        if (face.plane.side(x) != 0) return;
        const std::optional<int> w = face_winding(face, face.frame->project(x));
        on = !w || *w != 0;
    });
    return on;
}

bool inside_body(const Body& body, const Vec3& x) {
    constexpr int kDirections = 1000;
    if (!body.box.overlaps(widened_box({to_float_vertex(x)}))) return false;
    for (int k = 0; k < kDirections; ++k) {
        if (std::optional<int> w = ray_winding(body, x, ray_direction(k))) return *w > 0;
    }
    throw InternalFailure("boolean: no ray from an inner point avoids every edge");
}

}  // namespace brevant
