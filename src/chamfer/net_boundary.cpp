#include "chamfer/net_boundary.hpp"

#include <algorithm>

#include "arrangement/orientation.hpp"
#include "arrangement/flat_index.hpp"
#include "arrangement/point_index.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

// The line of a side. Lines not parallel to the second coordinate are v = slope·u + intercept
// with parameter u; the others are u = intercept with parameter v.
struct LineKey {
    bool along_v;
    Rational slope;
    Rational intercept;
    bool operator==(const LineKey&) const = default;
};

struct LineKeyHash {
    std::size_t operator()(const LineKey& k) const {
        return (k.slope.hash() * 31 + k.intercept.hash()) * 2 + (k.along_v ? 1 : 0);
    }
};

struct LoopSide {
    int line;
    Rational from, to;  // parameters of its ends, from < to
    int from_point, to_point;
    int count;  // +s along the line's way (growing parameter), −s against it
};

std::optional<LoopSide> side_of(const Point2& p, const Point2& q, int ip, int iq, int sign,
                                FlatIndex<LineKey, LineKeyHash>& lines) {
    const Rational du = q[0] - p[0], dv = q[1] - p[1];
    LineKey key;
    Rational tp, tq;
    if (!du.is_zero()) {
        key.along_v = false;
        key.slope = dv.is_zero() ? Rational() : dv / du;
        key.intercept = dv.is_zero() ? p[1] : p[1] - key.slope * p[0];
        tp = p[0];
        tq = q[0];
    } else if (!dv.is_zero()) {
        key.along_v = true;
        key.intercept = p[0];
        tp = p[1];
        tq = q[1];
    } else {
        return std::nullopt;  // no length
    }
    const bool forward = tp < tq;
    return LoopSide{lines.intern(key).first,      forward ? std::move(tp) : std::move(tq),
                    forward ? std::move(tq) : std::move(tp), forward ? ip : iq,
                    forward ? iq : ip,          forward ? sign : -sign};
}

struct NetStretch {
    int from, to;
    std::size_t line;
};

// Adds up the sides of one line into net sides; false when a stretch counts twice.
bool add_up_line(const std::vector<const LoopSide*>& sides, std::size_t line, std::vector<NetStretch>& out) {
    struct End {
        const Rational* t;
        int point;
        int change;
    };
    std::vector<End> ends;
    ends.reserve(2 * sides.size());
    for (const LoopSide* side : sides) {
        ends.push_back({&side->from, side->from_point, side->count});
        ends.push_back({&side->to, side->to_point, -side->count});
    }
    std::sort(ends.begin(), ends.end(), [](const End& a, const End& b) { return *a.t < *b.t; });
    int count = 0;
    for (std::size_t i = 0; i < ends.size();) {
        const int here = ends[i].point;
        while (i < ends.size() && ends[i].point == here) count += ends[i++].change;
        if (i == ends.size()) break;
        if (count > 1 || count < -1) return false;
        if (count == 1) out.push_back({here, ends[i].point, line});
        if (count == -1) out.push_back({ends[i].point, here, line});
    }
    return true;
}

}  // namespace

std::optional<std::vector<std::vector<Vec3>>> net_loops(const std::vector<SignedLoop>& loops, const PlaneFrame& frame) {
    PointIndex index;
    FlatIndex<LineKey, LineKeyHash> lines;
    std::vector<Vec3> points;
    std::vector<LoopSide> sides;
    for (const SignedLoop& loop : loops) {
        poll_interrupt();  // every loop
        const std::vector<Vec3>& v = *loop.points;
        std::vector<int> ids;
        ids.reserve(v.size());
        for (const Vec3& p : v) {
            const int id = index.intern(frame.project(p));
            if (static_cast<std::size_t>(id) == points.size()) points.push_back(p);
            ids.push_back(id);
        }
        const std::vector<Point2>& plane_points = index.points();
        for (std::size_t i = 0; i < v.size(); ++i) {
            const int a = ids[i], b = ids[(i + 1) % v.size()];
            if (std::optional<LoopSide> side = side_of(plane_points[a], plane_points[b], a, b, loop.sign, lines)) {
                sides.push_back(std::move(*side));
            }
        }
    }
    std::vector<std::vector<const LoopSide*>> by_line(lines.size());
    for (const LoopSide& side : sides) by_line[side.line].push_back(&side);
    std::vector<NetStretch> net;
    for (std::size_t line = 0; line < by_line.size(); ++line) {
        if (!add_up_line(by_line[line], line, net)) return std::nullopt;
    }

    // Each point must start exactly as many net sides as end there, and at most one.
    constexpr int none = -1;
    std::vector<int> next(points.size(), none), arriving(points.size(), 0);
    std::vector<std::size_t> out_line(points.size()), in_line(points.size());
    for (const NetStretch& s : net) {
        if (next[s.from] != none) return std::nullopt;
        next[s.from] = s.to;
        out_line[s.from] = s.line;
        in_line[s.to] = s.line;
        ++arriving[s.to];
    }
    for (std::size_t p = 0; p < points.size(); ++p) {
        if (arriving[p] != (next[p] == none ? 0 : 1)) return std::nullopt;
    }

    std::vector<std::vector<Vec3>> result;
    for (std::size_t start = 0; start < points.size(); ++start) {
        if (next[start] == none) continue;
        std::vector<Vec3> loop;
        for (int p = static_cast<int>(start); next[p] != none;) {
            if (in_line[p] != out_line[p]) loop.push_back(points[p]);
            const int q = next[p];
            next[p] = none;
            p = q;
        }
        if (loop.size() < 3) return std::nullopt;
        result.push_back(std::move(loop));
    }
    return result;
}

int loop_turn(const std::vector<Vec3>& loop, const PlaneFrame& frame) {
    std::vector<Point2> p;
    p.reserve(loop.size());
    for (const Vec3& v : loop) p.push_back(frame.project(v));
    // The least point (u, then v) is a corner where the loop turns its own way.
    const std::size_t n = p.size();
    const std::size_t i = static_cast<std::size_t>(std::min_element(p.begin(), p.end()) - p.begin());
    const Point2& a = p[(i + n - 1) % n];
    const Point2& b = p[i];
    const Point2& c = p[(i + 1) % n];
    return orient_sign(a, b, c, shadow(a), shadow(b), shadow(c));
}

}  // namespace brevant
