#include "arrangement/segment_split.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "arrangement/flat_index.hpp"
#include "arrangement/orientation.hpp"
#include "arrangement/point_index.hpp"
#include "arrangement/segment_tree.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

// The line through a segment: y = slope·x + intercept, or x = intercept when it is vertical. Along
// a line, points are ordered by their parameter: x, or y on a vertical line.
struct Line2 {
    bool vertical;
    Rational slope, intercept;
    bool operator==(const Line2&) const = default;
};

struct Line2Hash {
    std::size_t operator()(const Line2& l) const { return (l.slope.hash() * 31 + l.intercept.hash()) * 2 + l.vertical; }
};

Line2 line_through(const Point2& a, const Point2& b) {
    const Rational dx = b[0] - a[0];
    if (dx.is_zero()) return {true, Rational(), a[0]};
    if (a[1] == b[1]) return {false, Rational(), a[1]};
    Rational slope = (b[1] - a[1]) / dx;
    Rational intercept = a[1] - slope * a[0];
    return {false, std::move(slope), std::move(intercept)};
}

const Rational& parameter(const Point2& p, bool vertical) { return vertical ? p[1] : p[0]; }

// Orders points of one line by their parameter, exactly. Each shadow is the nearest double to its
// coordinate, and rounding to nearest never reverses an order (x < y gives fl(x) <= fl(y)), so
// unequal shadows already decide; only equal ones need the exact parameters.
struct ParameterOrder {
    const std::vector<Point2>& points;
    const std::vector<FloatPoint>& shadows;
    bool vertical;

    bool operator()(int u, int v) const {
        const double su = shadows[u][vertical], sv = shadows[v][vertical];
        if (su != sv) return su < sv;
        return parameter(points[u], vertical) < parameter(points[v], vertical);
    }
};

// A stretch of one line carrying what the segments along it add up to, split where stretches of
// other lines meet it.
struct Seg {
    int from, to;  // the ends, by increasing parameter along the line
    int line;
    Weights weights;  // along from → to
    bool constraint;
    std::vector<int> cuts;  // vertices strictly inside
};

struct LineMember {
    int from, to;
    int owner;
};

struct Lines {
    std::vector<bool> vertical;
    std::vector<std::vector<LineMember>> members;
};

Lines group_by_line(const std::vector<Segment2>& segments, PointIndex& index) {
    Lines lines;
    FlatIndex<Line2, Line2Hash> numbers;
    for (const Segment2& s : segments) {
        poll_interrupt();
        const int a = index.intern(s.from);
        const int b = index.intern(s.to);
        if (a == b) continue;
        const Line2 line = line_through(s.from, s.to);
        const auto [number, added] = numbers.intern(line);
        if (added) {
            lines.vertical.push_back(line.vertical);
            lines.members.emplace_back();
        }
        lines.members[number].push_back({a, b, s.owner});
    }
    return lines;
}

// The stretches of one line: the weights of its segments summed between consecutive ends, equal
// neighbours joined, empty ones dropped.
void sum_line(int line, const std::vector<LineMember>& members, const ParameterOrder& before, std::vector<Seg>& out) {
    if (members.size() == 1) {  // most lines carry one segment: its stretch is the segment
        const LineMember& m = members[0];
        const bool along = before(m.from, m.to);
        Weights weights;
        if (m.owner != kConstraint) weights.push_back({m.owner, along ? 1 : -1});
        out.push_back({along ? m.from : m.to, along ? m.to : m.from, line, std::move(weights), m.owner == kConstraint, {}});
        return;
    }
    std::vector<int> ends;
    for (const LineMember& m : members) {
        ends.push_back(m.from);
        ends.push_back(m.to);
    }
    std::sort(ends.begin(), ends.end(), before);
    ends.erase(std::unique(ends.begin(), ends.end()), ends.end());  // equal parameter: same point
    auto place = [&](int v) {
        return static_cast<std::size_t>(std::lower_bound(ends.begin(), ends.end(), v, before) - ends.begin());
    };
    std::vector<Weights> change(ends.size());
    std::vector<int> constraint_change(ends.size(), 0);
    for (const LineMember& m : members) {
        const std::size_t p = place(m.from), q = place(m.to);
        const std::size_t lo = std::min(p, q), hi = std::max(p, q);
        if (m.owner == kConstraint) {
            ++constraint_change[lo];
            --constraint_change[hi];
            continue;
        }
        const int along = p < q ? 1 : -1;  // the weight it adds along increasing parameter
        add_weight(change[lo], m.owner, along);
        add_weight(change[hi], m.owner, -along);
    }
    Weights running;
    int constraints = 0;
    for (std::size_t i = 0; i + 1 < ends.size(); ++i) {
        poll_interrupt();
        for (const OwnerWeight& ow : change[i]) add_weight(running, ow.owner, ow.weight);
        constraints += constraint_change[i];
        if (running.empty() && constraints == 0) continue;
        Seg* last = out.empty() ? nullptr : &out.back();
        if (last && last->line == line && last->to == ends[i] && last->weights == running &&
            last->constraint == (constraints > 0)) {
            last->to = ends[i + 1];
        } else {
            out.push_back({ends[i], ends[i + 1], line, running, constraints > 0, {}});
        }
    }
}

std::vector<Seg> line_stretches(const Lines& lines, const std::vector<Point2>& points,
                                const std::vector<FloatPoint>& shadows) {
    std::vector<Seg> stretches;
    for (std::size_t line = 0; line < lines.members.size(); ++line) {
        sum_line(static_cast<int>(line), lines.members[line], ParameterOrder{points, shadows, lines.vertical[line]},
                 stretches);
    }
    return stretches;
}

// Whether p, known to lie on the line through a and b, lies strictly between them.
bool strictly_between(const Point2& a, const Point2& b, const Point2& p) {
    const int axis = a[0] == b[0] ? 1 : 0;
    const auto [lo, hi] = std::minmax(a[axis], b[axis]);
    return lo < p[axis] && p[axis] < hi;
}

// Segments of different lines: an end of one inside the other splits the other, a crossing splits both.
void split_pair(Seg& s, Seg& t, PointIndex& index, const std::vector<FloatPoint>& f) {
    const Point2 a = index.points()[s.from], b = index.points()[s.to];
    const Point2 c = index.points()[t.from], d = index.points()[t.to];
    const FloatPoint &fa = f[s.from], &fb = f[s.to], &fc = f[t.from], &fd = f[t.to];
    const int o1 = orient_sign(a, b, c, fa, fb, fc);
    const int o2 = orient_sign(a, b, d, fa, fb, fd);
    if (o1 * o2 > 0) return;
    const int o3 = orient_sign(c, d, a, fc, fd, fa);
    const int o4 = orient_sign(c, d, b, fc, fd, fb);
    if (o3 * o4 > 0) return;
    if (o1 == 0 && strictly_between(a, b, c)) s.cuts.push_back(t.from);
    if (o2 == 0 && strictly_between(a, b, d)) s.cuts.push_back(t.to);
    if (o3 == 0 && strictly_between(c, d, a)) t.cuts.push_back(s.from);
    if (o4 == 0 && strictly_between(c, d, b)) t.cuts.push_back(s.to);
    if (o1 != 0 && o2 != 0 && o3 != 0 && o4 != 0) {
        // orient2(c, d, ·) is affine along a → b: zero at the fraction f3 / (f3 − f4).
        const Rational f3 = orient2(c, d, a);
        const Rational along = f3 / (f3 - orient2(c, d, b));
        const int p = index.intern({a[0] + along * (b[0] - a[0]), a[1] + along * (b[1] - a[1])});
        s.cuts.push_back(p);
        t.cuts.push_back(p);
    }
}

// Stretches of one line never cross, nor do two that share an end: they meet only there.
bool may_cross(const Seg& s, const Seg& t) {
    return s.line != t.line && s.from != t.from && s.from != t.to && s.to != t.from && s.to != t.to;
}

// Whether the shadows' boxes of two segments overlap. Segments that meet have overlapping exact
// boxes, and rounding to nearest (to infinity beyond the double range) keeps every order between
// coordinates, so their shadows' closed boxes overlap too.
bool boxes_meet(const Seg& s, const Seg& t, const std::vector<FloatPoint>& f) {
    for (int axis = 0; axis < 2; ++axis) {
        const auto [s0, s1] = std::minmax(f[s.from][axis], f[s.to][axis]);
        const auto [t0, t1] = std::minmax(f[t.from][axis], f[t.to][axis]);
        if (s1 < t0 || t1 < s0) return false;
    }
    return true;
}

void add_pair(const std::vector<Seg>& segs, const std::vector<FloatPoint>& f, int i, int j,
              std::vector<std::uint64_t>& found) {
    if (!may_cross(segs[i], segs[j]) || !boxes_meet(segs[i], segs[j], f)) return;
    const auto [lo, hi] = std::minmax(i, j);
    found.push_back(std::uint64_t(lo) << 32 | std::uint32_t(hi));
}

// Pairs of segments (lower index first) that may meet: those sharing a leaf of a quadtree over
// them. Density varies a lot in face fragments (fans of slivers meet in one corner), which a
// uniform grid would turn into quadratic work.
std::vector<std::uint64_t> pairs_in_leaves(const std::vector<Seg>& segs, const std::vector<Point2>& points,
                                           const std::vector<FloatPoint>& f) {
    IndexFrame frame;
    for (const Seg& s : segs) {
        for (int v : {s.from, s.to}) frame.include(points[v], f[v]);
    }
    std::vector<std::array<FloatPoint, 2>> ends;
    ends.reserve(segs.size());
    for (const Seg& s : segs) ends.push_back({frame(points[s.from], f[s.from]), frame(points[s.to], f[s.to])});
    const SegmentTree tree(ends);
    std::vector<std::uint64_t> found;
    for (const SegmentTree::Node& leaf : tree.nodes()) {
        for (int i = leaf.begin; i < leaf.end; ++i) {
            poll_interrupt();
            for (int j = i + 1; j < leaf.end; ++j) add_pair(segs, f, tree.members()[i], tree.members()[j], found);
        }
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

std::vector<std::uint64_t> every_pair(const std::vector<Seg>& segs, const std::vector<FloatPoint>& f) {
    std::vector<std::uint64_t> found;
    const int n = static_cast<int>(segs.size());
    for (int i = 0; i < n; ++i) {
        poll_interrupt();
        for (int j = i + 1; j < n; ++j) add_pair(segs, f, i, j, found);
    }
    return found;
}

// The shadows of the points that have none yet (the index only grows).
void add_shadows(const std::vector<Point2>& points, std::vector<FloatPoint>& shadows) {
    shadows.reserve(points.size());
    for (std::size_t i = shadows.size(); i < points.size(); ++i) shadows.push_back(shadow(points[i]));
}

// Crossing points join the index; `f` holds the shadows of the points before them.
void split_crossings(std::vector<Seg>& segs, PointIndex& index, const std::vector<FloatPoint>& f) {
    constexpr std::size_t kFewSegments = 24;  // below this, testing every pair is cheaper than a tree
    const std::vector<std::uint64_t> pairs =
        segs.size() > kFewSegments ? pairs_in_leaves(segs, index.points(), f) : every_pair(segs, f);
    for (std::uint64_t pair : pairs) {
        poll_interrupt();
        split_pair(segs[pair >> 32], segs[pair & 0xffffffffu], index, f);
    }
}

void append_pieces(const Seg& s, const ParameterOrder& before, std::vector<SplitPiece>& pieces) {
    std::vector<int> cuts = s.cuts;
    std::sort(cuts.begin(), cuts.end(), before);
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    int from = s.from;
    for (int v : cuts) {
        pieces.push_back({from, v, s.weights, s.constraint});
        from = v;
    }
    pieces.push_back({from, s.to, s.weights, s.constraint});
}

}  // namespace

SegmentSplit split_segments(const std::vector<Segment2>& segments) {
    PointIndex index;
    const Lines lines = group_by_line(segments, index);
    std::vector<FloatPoint> shadows;
    add_shadows(index.points(), shadows);
    std::vector<Seg> stretches = line_stretches(lines, index.points(), shadows);
    split_crossings(stretches, index, shadows);
    SegmentSplit result;
    result.points = index.take_points();
    add_shadows(result.points, shadows);
    for (const Seg& s : stretches) {
        poll_interrupt();
        append_pieces(s, ParameterOrder{result.points, shadows, lines.vertical[s.line]}, result.pieces);
    }
    return result;
}

}  // namespace brevant
