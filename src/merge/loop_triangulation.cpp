#include "merge/loop_triangulation.hpp"

#include <unordered_map>
#include <unordered_set>

#include "arrangement/point_index.hpp"
#include "exact/failure.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

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
            const std::vector<int>& at = positions[p_[i]];
            for (int j : at) {
                if (j != i) copies_[i].push_back(j);
            }
        }
        convex_.resize(n_);
        for (int i = 0; i < n_; ++i) update(i);
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
                dead_.insert(i);
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

    bool is_corner_point(const Point2& q, int a, int b, int c) const { return q == p_[a] || q == p_[b] || q == p_[c]; }

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
            if (dead_.contains(j)) continue;
            if (in_angle(p_[prev_[j]], at, first, last) || in_angle(p_[next_[j]], at, first, last)) return true;
        }
        return false;
    }

    bool is_ear(int i) const {
        if (!convex_[i]) return false;
        const int a = prev_[i], c = next_[i];
        for (int j = next_[c]; j != a; j = next_[j]) {
            // Only a vertex that is not strictly convex, or a copy of another point, can lie in an ear
            // of a loop without crossings.
            if (convex_[j] && copies_[j].empty()) continue;
            if (!is_corner_point(p_[j], a, i, c) && in_triangle(p_[j], a, i, c)) return false;
        }
        return !side_enters(i, c, a) && !side_enters(a, i, c) && !side_enters(c, a, i);
    }

    const std::vector<Point2>& p_;
    int n_;
    std::vector<int> prev_, next_;
    std::vector<char> convex_;
    std::vector<std::vector<int>> copies_;
    std::unordered_set<int> dead_;
};

}  // namespace

std::vector<std::array<int, 3>> triangulate_loop(const std::vector<Point2>& loop) {
    if (loop.size() < 3) throw InternalFailure("to_mesh: a face has fewer than three vertices");
    return EarClipper(loop).run();
}

}  // namespace brevant
