#include "solid/touching_clip.hpp"

#include <algorithm>
#include <optional>

#include "exact/interrupt.hpp"
#include "solid/fold_backs.hpp"

namespace brevant {
namespace {

bool between(const Rational& lo_or_hi, const Rational& hi_or_lo, const Rational& x) {
    return lo_or_hi <= hi_or_lo ? lo_or_hi <= x && x <= hi_or_lo : hi_or_lo <= x && x <= lo_or_hi;
}

// Whether p lies inside the segment from a to b, ends excluded. Comparisons first: most points of
// a loop are far from most of its edges.
bool inside_segment(const Point2& a, const Point2& b, const Point2& p) {
    if (!between(a[0], b[0], p[0]) || !between(a[1], b[1], p[1])) return false;
    if (p == a || p == b || !orient2(a, b, p).is_zero()) return false;
    const Rational along = (p[0] - a[0]) * (b[0] - a[0]) + (p[1] - a[1]) * (b[1] - a[1]);
    const Rational length2 = (b[0] - a[0]) * (b[0] - a[0]) + (b[1] - a[1]) * (b[1] - a[1]);
    return along.sign() > 0 && along < length2;
}

// The loop with every point that lies inside an edge inserted into that edge, in order along it.
std::vector<Point2> refined(const std::vector<Point2>& loop) {
    const std::size_t n = loop.size();
    std::vector<Point2> out;
    for (std::size_t i = 0; i < n; ++i) {
        const Point2& a = loop[i];
        const Point2& b = loop[(i + 1) % n];
        std::vector<Point2> on_edge;
        for (const Point2& p : loop) {
            poll_interrupt();
            if (inside_segment(a, b, p) && std::find(on_edge.begin(), on_edge.end(), p) == on_edge.end()) {
                on_edge.push_back(p);
            }
        }
        auto distance = [&](const Point2& p) { return (p[0] - a[0]).abs() + (p[1] - a[1]).abs(); };
        std::sort(on_edge.begin(), on_edge.end(), [&](const Point2& p, const Point2& q) { return distance(p) < distance(q); });
        out.push_back(a);
        out.insert(out.end(), on_edge.begin(), on_edge.end());
    }
    return out;
}

// Whether the direction from corner x towards q lies strictly inside the angle of the
// counter-clockwise triangle at x, whose other corners are y (next) and z (previous).
bool points_into(const Point2& x, const Point2& y, const Point2& z, const Point2& q) {
    return orient2(x, y, q).sign() > 0 && orient2(x, z, q).sign() < 0;
}

// Whether another pass through a corner of the counter-clockwise ear (a, b, c) at v[i] points
// into it, or another point of the loop lies in the closed ear without being one of its corners.
bool blocked(const std::vector<Point2>& v, std::size_t prev, std::size_t i, std::size_t next) {
    const Point2& a = v[prev];
    const Point2& b = v[i];
    const Point2& c = v[next];
    const std::size_t n = v.size();
    for (std::size_t j = 0; j < n; ++j) {
        poll_interrupt();
        if (j == prev || j == i || j == next) continue;
        const Point2& p = v[j];
        const Point2& before = v[(j + n - 1) % n];
        const Point2& after = v[(j + 1) % n];
        if (p == a) {
            if (points_into(a, b, c, before) || points_into(a, b, c, after)) return true;
        } else if (p == b) {
            if (points_into(b, c, a, before) || points_into(b, c, a, after)) return true;
        } else if (p == c) {
            if (points_into(c, a, b, before) || points_into(c, a, b, after)) return true;
        } else if (orient2(a, b, p).sign() >= 0 && orient2(b, c, p).sign() >= 0 && orient2(c, a, p).sign() >= 0) {
            return true;
        }
    }
    return false;
}

std::optional<std::size_t> first_touching_ear(const std::vector<Point2>& v) {
    const std::size_t n = v.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t prev = (i + n - 1) % n;
        const std::size_t next = (i + 1) % n;
        if (orient2(v[prev], v[i], v[next]).sign() > 0 && !blocked(v, prev, i, next)) return i;
    }
    return std::nullopt;
}

void take_out_fold_backs(std::vector<Point2>& v) {
    if (const std::optional<std::vector<KeptPoint>> kept = without_fold_backs({&v})) v = kept_points(v, *kept);
}

}  // namespace

EarClipping clip_touching_ears(const std::vector<Point2>& loop) {
    std::vector<Point2> v = refined(loop);
    take_out_fold_backs(v);
    return clip_ears_by(std::move(v), first_touching_ear, take_out_fold_backs);
}

}  // namespace brevant
