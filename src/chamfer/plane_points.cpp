#include "chamfer/plane_points.hpp"

#include <algorithm>

namespace brevant {
namespace {

// The order of two numbers from their shadows where those differ (rounding keeps order), else
// exactly.
int compare(const Rational& a, const Rational& b, double fa, double fb) {
    if (fa != fb) return fa < fb ? -1 : 1;
    const auto c = a <=> b;
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace

Points2 projected(const std::vector<Vec3>& points, const PlaneFrame& frame) {
    Points2 out;
    out.exact.reserve(points.size());
    out.shadows.reserve(points.size());
    for (const Vec3& p : points) {
        out.exact.push_back(frame.project(p));
        out.shadows.push_back(shadow(out.exact.back()));
    }
    return out;
}

// The sign of orient2(a, b, c) (a, b points i and j of s, c point k of t). Sides along a coordinate
// axis, most sides here, need comparisons alone: with b0 = a0 it is −sign(b1 − a1)·sign(c0 − a0),
// with b1 = a1 it is sign(b0 − a0)·sign(c1 − a1).
int orient(const Points2& s, std::size_t i, std::size_t j, const Points2& t, std::size_t k) {
    const Point2& a = s.exact[i];
    const Point2& b = s.exact[j];
    const Point2& c = t.exact[k];
    const FloatPoint& fa = s.shadows[i];
    const FloatPoint& fb = s.shadows[j];
    const FloatPoint& fc = t.shadows[k];
    if (compare(a[0], b[0], fa[0], fb[0]) == 0) {
        return -compare(b[1], a[1], fb[1], fa[1]) * compare(c[0], a[0], fc[0], fa[0]);
    }
    if (compare(a[1], b[1], fa[1], fb[1]) == 0) {
        return compare(b[0], a[0], fb[0], fa[0]) * compare(c[1], a[1], fc[1], fa[1]);
    }
    return orient_sign(a, b, c, fa, fb, fc);
}

// Whether the segment from point i to point j of `ends` meets the inside of the convex polygon
// (corners in order, turning `turn`): two convex sets are apart exactly when a line along a side
// of one separates them.
bool crosses_inside(const Points2& ends, const Points2& convex, int turn) {
    const std::size_t n = convex.exact.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        if (orient(convex, i, j, ends, 0) * turn <= 0 && orient(convex, i, j, ends, 1) * turn <= 0) return false;
    }
    bool left = false, right = false;
    for (std::size_t k = 0; k < n; ++k) {
        const int s = orient(ends, 0, 1, convex, k);
        left = left || s > 0;
        right = right || s < 0;
    }
    return left && right;
}

// Whether x (the one point of `at`) lies in the polygon or on its boundary (winding number, exactly).
bool covers(const Points2& loop, const Points2& at) {
    const Point2& x = at.exact[0];
    const FloatPoint& fx = at.shadows[0];
    int winding = 0;
    const std::size_t n = loop.exact.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        const Point2& a = loop.exact[i];
        const Point2& b = loop.exact[j];
        const int av = compare(a[1], x[1], loop.shadows[i][1], fx[1]);
        const int bv = compare(b[1], x[1], loop.shadows[j][1], fx[1]);
        if (av * bv > 0) continue;  // both above or both below
        const int side = orient(loop, i, j, at, 0);
        if (side == 0 && std::min(a[0], b[0]) <= x[0] && x[0] <= std::max(a[0], b[0])) return true;
        if (av <= 0 && bv > 0 && side > 0) ++winding;
        if (av > 0 && bv <= 0 && side < 0) --winding;
    }
    return winding != 0;
}

}  // namespace brevant
