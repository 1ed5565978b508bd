#include "corefine/point_location.hpp"

#include <algorithm>

#include "exact/failure.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

bool on_segment(const Point2& a, const Point2& b, const Point2& p) {
    if (!orient2(a, b, p).is_zero()) return false;
    return std::min(a[0], b[0]) <= p[0] && p[0] <= std::max(a[0], b[0]) && std::min(a[1], b[1]) <= p[1] &&
           p[1] <= std::max(a[1], b[1]);
}

bool lower_left(const Point2& p, const Point2& q) { return p[1] < q[1] || (p[1] == q[1] && p[0] < q[0]); }

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

// The winding of the solid's faces round x along the ray x + t·d, t > 0: each face crossed counts
// +1 when the ray leaves through it (d·normal > 0) and −1 when it enters; nothing when the ray
// touches a face's boundary or runs in a face's plane.
std::optional<int> ray_winding(const FaceSet& solid, const Vec3& x, const Vec3& d) {
    const std::array<double, 3> xo{x[0].to_double(), x[1].to_double(), x[2].to_double()};
    const std::array<double, 3> dd{d[0].to_double(), d[1].to_double(), d[2].to_double()};
    int winding = 0;
    bool degenerate = false;
    solid.tree.along_ray(xo, dd, [&](int index) {
        poll_interrupt();
        if (degenerate) return;
        const Face& face = solid.faces[index];
        const Rational across = dot(face.plane.normal, d);
        const Rational height = face.plane.offset - dot(face.plane.normal, x);
        if (across.is_zero()) {
            degenerate = height.is_zero();
            return;
        }
        const Rational t = height / across;
        if (t.sign() < 0) return;
        const std::optional<int> w = winding_number(face.loop2, face.frame.project(add(x, smul(t, d))));
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
        if (on_segment(a, b, p)) return std::nullopt;
        if (a[1] <= p[1]) {
            if (p[1] < b[1] && orient2(a, b, p).sign() > 0) ++w;
        } else if (b[1] <= p[1] && orient2(a, b, p).sign() < 0) {
            --w;
        }
    }
    return w;
}

Point2 interior_point(const std::vector<std::vector<Point2>>& loops) {
    // The lowest vertex of the outer loop is strictly convex; the triangle it makes with its
    // neighbours is inside unless other vertices lie in it, and then the one nearest the corner
    // sees the corner along a segment inside.
    const auto& outer = *std::max_element(loops.begin(), loops.end(), [](const auto& x, const auto& y) {
        return loop_area2(x) < loop_area2(y);
    });
    const std::size_t n = outer.size();
    const std::size_t i = static_cast<std::size_t>(std::min_element(outer.begin(), outer.end(), lower_left) - outer.begin());
    const Point2& v = outer[i];
    const Point2& prev = outer[(i + n - 1) % n];
    const Point2& next = outer[(i + 1) % n];
    const Point2* nearest = nullptr;
    Rational nearness;
    for (const auto& loop : loops) {
        for (const Point2& q : loop) {
            if (q == v || q == prev || q == next) continue;
            if (orient2(prev, v, q).sign() < 0 || orient2(v, next, q).sign() < 0 || orient2(next, prev, q).sign() < 0) continue;
            Rational r = orient2(next, prev, q);
            if (!nearest || nearness < r) {
                nearest = &q;
                nearness = std::move(r);
            }
        }
    }
    const Rational half(BigInt(1), BigInt(2)), third(BigInt(1), BigInt(3));
    if (nearest) return {(v[0] + (*nearest)[0]) * half, (v[1] + (*nearest)[1]) * half};
    return {(prev[0] + v[0] + next[0]) * third, (prev[1] + v[1] + next[1]) * third};
}

bool inside_solid(const FaceSet& solid, const Vec3& x) {
    for (const auto& [dx, dy, dz] : kRays) {
        if (std::optional<int> w = ray_winding(solid, x, {Rational(dx), Rational(dy), Rational(dz)})) return *w > 0;
    }
    throw InternalFailure("boolean: no ray from an inner point avoids every edge");
}

}  // namespace brevant
