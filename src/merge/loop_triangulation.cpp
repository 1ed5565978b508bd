#include "merge/loop_triangulation.hpp"

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_map>

#include "arrangement/index_frame.hpp"
#include "arrangement/point_index.hpp"
#include "exact/failure.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

// The vertices that may block an ear, bucketed in a uniform grid over their index points
// (arrangement/index_frame.hpp) so that an ear is tested only against those near it. A vertex
// inside a triangle lies in the triangle's box, so by monotony its index point lies in the box of
// the corners' index points: no margin is needed. Index coordinates are finite and at most 2^1020,
// so the extent, the cell size and every cell number below are finite. The candidates are fixed
// at the start: clipping never makes a strictly convex vertex reflex, so the set only shrinks
// (members that became convex are skipped when met).
class BlockerGrid {
public:
    BlockerGrid(const std::vector<Point2>& loop, const std::vector<int>& members) {
        IndexFrame frame;
        g_.reserve(loop.size());
        for (const Point2& q : loop) {
            g_.push_back(shadow(q));
            frame.include(q, g_.back());
        }
        double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
        for (std::size_t i = 0; i < loop.size(); ++i) {
            g_[i] = frame(loop[i], g_[i]);
            x0 = std::min(x0, g_[i][0]);
            y0 = std::min(y0, g_[i][1]);
            x1 = std::max(x1, g_[i][0]);
            y1 = std::max(y1, g_[i][1]);
        }
        const double n = static_cast<double>(std::max<std::size_t>(members.size(), 1));
        // About one member per cell: the square root of the area per member, taken as a product of
        // roots since the area itself may overflow.
        cell_ = std::max({std::sqrt(x1 - x0) * std::sqrt((y1 - y0) / n), std::max(x1 - x0, y1 - y0) / kMaxCells, 1e-300});
        x0_ = x0;
        y0_ = y0;
        columns_ = static_cast<int>(std::min((x1 - x0) / cell_, double(kMaxCells))) + 1;
        rows_ = static_cast<int>(std::min((y1 - y0) / cell_, double(kMaxCells))) + 1;
        start_.assign(static_cast<std::size_t>(columns_) * rows_ + 1, 0);
        for (int v : members) ++start_[cell_of(g_[v]) + 1];
        for (std::size_t i = 1; i < start_.size(); ++i) start_[i] += start_[i - 1];
        members_.resize(members.size());
        std::vector<int> fill(start_.begin(), start_.end() - 1);
        for (int v : members) members_[fill[cell_of(g_[v])]++] = v;
    }

    // Calls visit(v) for every member whose index point lies in the triangle's box.
    template <typename Visit>
    bool any_near(int a, int b, int c, Visit visit) const {
        const double lo_x = std::min({g_[a][0], g_[b][0], g_[c][0]}), hi_x = std::max({g_[a][0], g_[b][0], g_[c][0]});
        const double lo_y = std::min({g_[a][1], g_[b][1], g_[c][1]}), hi_y = std::max({g_[a][1], g_[b][1], g_[c][1]});
        for (int r = row(lo_y); r <= row(hi_y); ++r) {
            for (int col = column(lo_x); col <= column(hi_x); ++col) {
                const int cell = r * columns_ + col;
                for (int i = start_[cell]; i < start_[cell + 1]; ++i) {
                    const FloatPoint& p = g_[members_[i]];
                    if (p[0] < lo_x || p[0] > hi_x || p[1] < lo_y || p[1] > hi_y) continue;
                    if (visit(members_[i])) return true;
                }
            }
        }
        return false;
    }

private:
    static constexpr int kMaxCells = 1024;
    int column(double x) const { return std::clamp(static_cast<int>(std::floor((x - x0_) / cell_)), 0, columns_ - 1); }
    int row(double y) const { return std::clamp(static_cast<int>(std::floor((y - y0_) / cell_)), 0, rows_ - 1); }
    int cell_of(const FloatPoint& p) const { return row(p[1]) * columns_ + column(p[0]); }

    std::vector<FloatPoint> g_;  // index points, by vertex
    double cell_, x0_, y0_;
    int columns_, rows_;
    std::vector<int> start_, members_;
};

class EarClipper {
public:
    explicit EarClipper(const std::vector<Point2>& loop) : p_(loop), n_(static_cast<int>(loop.size())) {
        prev_.resize(n_);
        next_.resize(n_);
        for (int i = 0; i < n_; ++i) {
            prev_[i] = (i + n_ - 1) % n_;
            next_[i] = (i + 1) % n_;
        }
        std::unordered_map<Point2, std::vector<int>, Point2Hash> positions;
        for (int i = 0; i < n_; ++i) positions[p_[i]].push_back(i);
        copies_.resize(n_);
        for (int i = 0; i < n_; ++i) {
            for (int j : positions[p_[i]]) {
                if (j != i) copies_[i].push_back(j);
            }
        }
        convex_.resize(n_);
        dead_.assign(n_, 0);
        std::vector<int> blockers;
        for (int i = 0; i < n_; ++i) {
            update(i);
            if (!convex_[i] || !copies_[i].empty()) blockers.push_back(i);
        }
        grid_.emplace(loop, blockers);
    }

    std::vector<std::array<int, 3>> run() {
        std::vector<std::array<int, 3>> triangles;
        int alive = n_, i = 0, misses = 0;
        while (alive > 3) {
            poll_interrupt();
            if (is_ear(i)) {
                triangles.push_back({prev_[i], i, next_[i]});
                const int before = prev_[i], after = next_[i];
                next_[before] = after;
                prev_[after] = before;
                dead_[i] = 1;
                --alive;
                update(before);
                update(after);
                i = after;
                misses = 0;
            } else {
                i = next_[i];
                if (++misses > alive) throw InternalFailure("to_mesh: a face could not be triangulated");
            }
        }
        if (orient2(p_[prev_[i]], p_[i], p_[next_[i]]).sign() <= 0) {
            throw InternalFailure("to_mesh: a face could not be triangulated");
        }
        triangles.push_back({prev_[i], i, next_[i]});
        return triangles;
    }

private:
    void update(int i) { convex_[i] = orient2(p_[prev_[i]], p_[i], p_[next_[i]]).sign() > 0; }

    // q in the closed triangle a, b, c (counter-clockwise).
    bool in_triangle(const Point2& q, int a, int b, int c) const {
        return orient2(p_[a], p_[b], q).sign() >= 0 && orient2(p_[b], p_[c], q).sign() >= 0 &&
               orient2(p_[c], p_[a], q).sign() >= 0;
    }

    // Whether q lies strictly inside the triangle's angle at corner `at`, between the sides to
    // `first` (counter-clockwise start) and `last`.
    bool in_angle(const Point2& q, int at, int first, int last) const {
        return orient2(p_[at], p_[first], q).sign() > 0 && orient2(p_[at], q, p_[last]).sign() > 0;
    }

    // A side leaving another copy of a corner's point into the triangle's angle there.
    bool side_enters(int at, int first, int last) const {
        for (int j : copies_[at]) {
            if (dead_[j]) continue;
            if (in_angle(p_[prev_[j]], at, first, last) || in_angle(p_[next_[j]], at, first, last)) return true;
        }
        return false;
    }

    // Only a vertex that is not strictly convex, or a copy of another point, can lie in an ear of a
    // loop without crossings.
    bool blocks(int j, int a, int i, int c) const {
        if (dead_[j] || j == a || j == i || j == c || (convex_[j] && copies_[j].empty())) return false;
        const Point2& q = p_[j];
        return q != p_[a] && q != p_[i] && q != p_[c] && in_triangle(q, a, i, c);
    }

    bool is_ear(int i) const {
        if (!convex_[i]) return false;
        const int a = prev_[i], c = next_[i];
        auto blocked = [&](int j) { return blocks(j, a, i, c); };
        return !grid_->any_near(a, i, c, blocked) && !side_enters(i, c, a) && !side_enters(a, i, c) && !side_enters(c, a, i);
    }

    const std::vector<Point2>& p_;
    int n_;
    std::vector<int> prev_, next_;
    std::vector<char> convex_, dead_;
    std::vector<std::vector<int>> copies_;
    std::optional<BlockerGrid> grid_;  // built once the vertices' convexity is known
};

}  // namespace

std::vector<std::array<int, 3>> triangulate_loop(const std::vector<Point2>& loop) {
    if (loop.size() < 3) throw InternalFailure("to_mesh: a face has fewer than three vertices");
    return EarClipper(loop).run();
}

}  // namespace brevant
