#include "chamfer/net_boundary.hpp"

#include <algorithm>
#include <unordered_map>

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
    int from_point, to_point;  // from the smaller parameter to the larger
    int count;                 // +s along the line's way (growing parameter), −s against it
};

// The line of pq, numbered in `lines`; the parameter of a point is its coordinate `along_v`.
// Sides along a coordinate axis, the most common, need no arithmetic.
int line_of(const Point2& p, const Point2& q, FlatIndex<LineKey, LineKeyHash>& lines, bool& along_v) {
    along_v = p[0] == q[0];
    if (along_v) return lines.intern({true, Rational(), p[0]}).first;
    if (p[1] == q[1]) return lines.intern({false, Rational(), p[1]}).first;
    Rational slope = (q[1] - p[1]) / (q[0] - p[0]);
    Rational intercept = p[1] - slope * p[0];
    return lines.intern({false, std::move(slope), std::move(intercept)}).first;
}

struct NetStretch {
    int from, to;
    int line;
};

struct End {
    const Rational* t;
    int point;
    int change;
};

// Adds up the sides of one line into net sides; false when a stretch counts twice.
bool add_up_line(End* first, End* last, int line, std::vector<NetStretch>& out) {
    std::sort(first, last, [](const End& a, const End& b) { return *a.t < *b.t; });
    const std::size_t n = static_cast<std::size_t>(last - first);
    const End* ends = first;
    int count = 0;
    for (std::size_t i = 0; i < n;) {
        const int here = ends[i].point;
        while (i < n && ends[i].point == here) count += ends[i++].change;
        if (i == n) break;
        if (count > 1 || count < -1) return false;
        if (count == 1) out.push_back({here, ends[i].point, line});
        if (count == -1) out.push_back({ends[i].point, here, line});
    }
    return true;
}

// Whether b runs through a's points the other way round.
bool reversed_loops(const std::vector<Vec3>& a, const std::vector<Vec3>& b) {
    const std::size_t n = a.size();
    if (b.size() != n) return false;
    const std::size_t r = static_cast<std::size_t>(std::find(b.begin(), b.end(), a[0]) - b.begin());
    if (r == n) return false;
    for (std::size_t i = 1; i < n; ++i) {
        if (!(a[i] == b[(r + n - i) % n])) return false;
    }
    return true;
}

}  // namespace

// Partners are found by a hash of their point sets.
std::vector<SignedLoop> uncancelled(std::vector<SignedLoop> loops) {
    if (loops.size() < 2) return loops;
    std::unordered_map<std::size_t, std::vector<std::size_t>> by_points;
    std::vector<char> gone(loops.size(), 0);
    for (std::size_t i = 0; i < loops.size(); ++i) {
        std::size_t h = 0;
        for (const Vec3& v : *loops[i].points) h += (v[0].hash() * 31 + v[1].hash()) * 31 + v[2].hash();
        std::vector<std::size_t>& same = by_points[h];
        const auto partner = std::find_if(same.begin(), same.end(), [&](std::size_t j) {
            return !gone[j] && loops[j].sign == loops[i].sign && reversed_loops(*loops[j].points, *loops[i].points);
        });
        if (partner == same.end()) {
            same.push_back(i);
            continue;
        }
        gone[i] = gone[*partner] = 1;
    }
    std::vector<SignedLoop> kept;
    for (std::size_t i = 0; i < loops.size(); ++i) {
        if (!gone[i]) kept.push_back(loops[i]);
    }
    return kept;
}

std::optional<std::vector<std::vector<Vec3>>> net_loops(const std::vector<SignedLoop>& loops, const PlaneFrame& frame) {
    PointIndex index;
    std::vector<Vec3> points;
    std::vector<int> ids;  // the loops' points, numbered, one loop after another
    std::size_t total = 0;
    for (const SignedLoop& loop : loops) total += loop.points->size();
    ids.reserve(total);
    points.reserve(total);
    for (const SignedLoop& loop : loops) {
        poll_interrupt();  // every loop
        for (const Vec3& p : *loop.points) {
            const int id = index.intern(frame.project(p));
            if (static_cast<std::size_t>(id) == points.size()) points.push_back(p);
            ids.push_back(id);
        }
    }
    const std::vector<Point2>& plane_points = index.points();
    FlatIndex<LineKey, LineKeyHash> lines;
    std::vector<LoopSide> sides;
    sides.reserve(total);
    std::vector<char> along_v;  // per line
    std::size_t first = 0;
    for (const SignedLoop& loop : loops) {
        const std::size_t n = loop.points->size();
        for (std::size_t i = 0; i < n; ++i) {
            const int a = ids[first + i], b = ids[first + (i + 1) % n];
            if (a == b) continue;
            bool on_v = false;
            const int line = line_of(plane_points[a], plane_points[b], lines, on_v);
            if (static_cast<std::size_t>(line) == along_v.size()) along_v.push_back(on_v);
            const bool forward = plane_points[a][on_v] < plane_points[b][on_v];
            sides.push_back({line, forward ? a : b, forward ? b : a, forward ? loop.sign : -loop.sign});
        }
        first += n;
    }

    // The sides' ends, line by line (a counting sort by line).
    std::vector<std::size_t> start(lines.size() + 1, 0);
    for (const LoopSide& side : sides) start[side.line + 1] += 2;
    for (std::size_t l = 0; l < lines.size(); ++l) start[l + 1] += start[l];
    std::vector<End> ends(start.back());
    std::vector<std::size_t> fill(start.begin(), start.end() - 1);
    for (const LoopSide& side : sides) {
        const bool on_v = along_v[side.line];
        ends[fill[side.line]++] = {&plane_points[side.from_point][on_v], side.from_point, side.count};
        ends[fill[side.line]++] = {&plane_points[side.to_point][on_v], side.to_point, -side.count};
    }
    std::vector<NetStretch> net;
    net.reserve(sides.size());
    for (std::size_t l = 0; l < lines.size(); ++l) {
        const int line = static_cast<int>(l);
        if (!add_up_line(ends.data() + start[l], ends.data() + start[l + 1], line, net)) return std::nullopt;
    }

    // Each point must start exactly as many net sides as end there, and at most one.
    constexpr int none = -1;
    std::vector<int> next(points.size(), none), arriving(points.size(), 0);
    std::vector<int> out_line(points.size()), in_line(points.size());
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
