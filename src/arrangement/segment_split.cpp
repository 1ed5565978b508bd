#include "arrangement/segment_split.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "arrangement/flat_index.hpp"
#include "arrangement/orientation.hpp"
#include "arrangement/point_index.hpp"
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

// Whether the shadows' boxes of two segments, widened by the margin, overlap: segments that meet do.
bool boxes_meet(const Seg& s, const Seg& t, const std::vector<FloatPoint>& f, double margin) {
    for (int axis = 0; axis < 2; ++axis) {
        const auto [s0, s1] = std::minmax(f[s.from][axis], f[s.to][axis]);
        const auto [t0, t1] = std::minmax(f[t.from][axis], f[t.to][axis]);
        if (s1 + margin < t0 || t1 + margin < s0) return false;
    }
    return true;
}

// The margin for boxes_meet and the quadtree: far above the rounding of the shadows (each within
// 2^-53 of its value relative), infinite when a shadow is not finite so that nothing is skipped.
double shadow_margin(const std::vector<FloatPoint>& f) {
    double largest = 0.0;
    for (const FloatPoint& p : f) largest = std::max({largest, std::fabs(p[0]), std::fabs(p[1])});
    return std::isfinite(largest) ? 1e-9 * largest + 1e-300 : INFINITY;
}

struct Box {
    double x0, y0, x1, y1;
};

// Pairs of segments (lower index first) that may meet, found by a quadtree over the double shadows
// of the points: a square is split while it holds many segments, and segments are tested in pairs
// only where they share a leaf. A segment counts as passing through a square when its shadow,
// widened by a margin far above the rounding of the shadows, does; two segments that meet therefore
// share a leaf. Density varies a lot in face fragments (fans of slivers meet in one corner), which
// a uniform grid would turn into quadratic work.
class CandidateTree {
public:
    CandidateTree(const std::vector<Seg>& segs, const std::vector<FloatPoint>& f) : segs_(segs), f_(f) {
        Box b{INFINITY, INFINITY, -INFINITY, -INFINITY};
        double largest = 0.0;
        for (const Seg& s : segs) {
            for (int v : {s.from, s.to}) {
                b = {std::min(b.x0, f[v][0]), std::min(b.y0, f[v][1]), std::max(b.x1, f[v][0]), std::max(b.y1, f[v][1])};
                largest = std::max({largest, std::fabs(f[v][0]), std::fabs(f[v][1])});
            }
        }
        margin_ = 1e-9 * std::max({largest, b.x1 - b.x0, b.y1 - b.y0}) + 1e-300;
        const double side = std::max(b.x1 - b.x0, b.y1 - b.y0) + 4 * margin_;
        root_ = {b.x0 - 2 * margin_, b.y0 - 2 * margin_, b.x0 - 2 * margin_ + side, b.y0 - 2 * margin_ + side};
        smallest_ = 1e3 * margin_;
    }

    std::vector<std::uint64_t> pairs() const {
        std::vector<std::uint64_t> found;
        struct Square {
            Box box;
            std::vector<int> members;
        };
        std::vector<Square> stack;
        stack.push_back({root_, std::vector<int>(segs_.size())});
        for (std::size_t i = 0; i < segs_.size(); ++i) stack.back().members[i] = static_cast<int>(i);
        while (!stack.empty()) {
            poll_interrupt();
            Square square = std::move(stack.back());
            stack.pop_back();
            const Box& b = square.box;
            if (square.members.size() <= kLeafSize || b.x1 - b.x0 < smallest_) {
                add_pairs(square.members, found);
                continue;
            }
            const double mx = 0.5 * (b.x0 + b.x1), my = 0.5 * (b.y0 + b.y1);
            for (const Box& child : {Box{b.x0, b.y0, mx, my}, Box{mx, b.y0, b.x1, my}, Box{b.x0, my, mx, b.y1},
                                     Box{mx, my, b.x1, b.y1}}) {
                Square part{child, {}};
                for (int s : square.members) {
                    if (passes_through(s, child)) part.members.push_back(s);
                }
                if (part.members.size() > 1) stack.push_back(std::move(part));
            }
        }
        std::sort(found.begin(), found.end());
        found.erase(std::unique(found.begin(), found.end()), found.end());
        return found;
    }

private:
    static constexpr std::size_t kLeafSize = 12;

    // The widened segment meets the square: clip the segment's parameter range to the square
    // widened by the margin (Liang–Barsky).
    bool passes_through(int s, const Box& b) const {
        const FloatPoint& a = f_[segs_[s].from];
        const FloatPoint& c = f_[segs_[s].to];
        double lo = 0.0, hi = 1.0;
        const double d[2] = {c[0] - a[0], c[1] - a[1]};
        const double low[2] = {b.x0 - margin_, b.y0 - margin_}, high[2] = {b.x1 + margin_, b.y1 + margin_};
        for (int axis = 0; axis < 2; ++axis) {
            if (d[axis] == 0.0) {
                if (a[axis] < low[axis] || a[axis] > high[axis]) return false;
                continue;
            }
            double t0 = (low[axis] - a[axis]) / d[axis], t1 = (high[axis] - a[axis]) / d[axis];
            if (t0 > t1) std::swap(t0, t1);
            lo = std::max(lo, t0);
            hi = std::min(hi, t1);
        }
        return lo <= hi + 1e-9;
    }

    void add_pairs(const std::vector<int>& members, std::vector<std::uint64_t>& found) const {
        for (std::size_t i = 0; i < members.size(); ++i) {
            for (std::size_t j = i + 1; j < members.size(); ++j) {
                const Seg& s = segs_[members[i]];
                const Seg& t = segs_[members[j]];
                if (!may_cross(s, t) || !boxes_meet(s, t, f_, margin_)) continue;
                const auto [lo, hi] = std::minmax(members[i], members[j]);
                found.push_back(std::uint64_t(lo) << 32 | std::uint32_t(hi));
            }
        }
    }

    const std::vector<Seg>& segs_;
    const std::vector<FloatPoint>& f_;
    Box root_;
    double margin_, smallest_;
};

std::vector<std::uint64_t> every_pair(const std::vector<Seg>& segs, const std::vector<FloatPoint>& f, double margin) {
    std::vector<std::uint64_t> found;
    for (std::size_t i = 0; i < segs.size(); ++i) {
        poll_interrupt();
        for (std::size_t j = i + 1; j < segs.size(); ++j) {
            if (may_cross(segs[i], segs[j]) && boxes_meet(segs[i], segs[j], f, margin)) {
                found.push_back(std::uint64_t(i) << 32 | std::uint32_t(j));
            }
        }
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
    const double margin = shadow_margin(f);
    const std::vector<std::uint64_t> pairs = std::isfinite(margin) && segs.size() > kFewSegments
                                                 ? CandidateTree(segs, f).pairs()
                                                 : every_pair(segs, f, margin);
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
