#include "solid/loop_crossings.hpp"

#include <algorithm>
#include <optional>

#include "exact/interrupt.hpp"
#include "solid/ear_clip.hpp"

namespace brevant {
namespace {

int side_of(const Point2& a, const Point2& b, const Point2& p) { return orient2(a, b, p).sign(); }

// Whether the two ranges of one coordinate, each given by its ends in any order, overlap.
bool ranges_meet(const Rational& a, const Rational& b, const Rational& c, const Rational& d) {
    return std::max(std::min(a, b), std::min(c, d)) <= std::min(std::max(a, b), std::max(c, d));
}

bool edges_cross(const Point2& a, const Point2& b, const Point2& c, const Point2& d) {
    if (!ranges_meet(a[0], b[0], c[0], d[0]) || !ranges_meet(a[1], b[1], c[1], d[1])) return false;
    return side_of(a, b, c) * side_of(a, b, d) < 0 && side_of(c, d, a) * side_of(c, d, b) < 0;
}

// One visit of the loop to a point x: the points it comes from and goes to (distinct from x).
struct Pass {
    Point2 from, to;
};

bool on_ray(const Point2& x, const Point2& towards, const Point2& q) {
    return side_of(x, towards, q) == 0 &&
           ((q[0] - x[0]) * (towards[0] - x[0]) + (q[1] - x[1]) * (towards[1] - x[1])).sign() > 0;
}

// Whether the direction from x to q lies strictly inside the angle swept counter-clockwise from the
// direction of u to that of w (1), strictly outside it (-1), or along one of the two (0).
int within_turn(const Point2& x, const Point2& u, const Point2& w, const Point2& q) {
    if (on_ray(x, u, q) || on_ray(x, w, q)) return 0;
    const int turn = side_of(x, u, w);
    const bool after_u = side_of(x, u, q) > 0;
    const bool before_w = side_of(x, q, w) > 0;
    if (turn > 0) return after_u && before_w ? 1 : -1;
    if (turn < 0) return after_u || before_w ? 1 : -1;
    return after_u ? 1 : -1;  // u and w opposite (a spike, u = w, is never passed here)
}

bool passes_interleave(const Point2& x, const Pass& p, const Pass& q) {
    if (on_ray(x, p.from, p.to)) return false;  // a spike has no sides
    const int from = within_turn(x, p.to, p.from, q.from);
    const int to = within_turn(x, p.to, p.from, q.to);
    return from * to < 0;
}

// The visit at point k, skipping neighbours that coincide with it; none when every point does.
std::optional<Pass> pass_at(const std::vector<Point2>& loop, std::size_t k) {
    const std::size_t n = loop.size();
    std::size_t before = (k + n - 1) % n;
    std::size_t after = (k + 1) % n;
    while (before != k && loop[before] == loop[k]) before = (before + n - 1) % n;
    while (after != k && loop[after] == loop[k]) after = (after + 1) % n;
    if (before == k || after == k) return std::nullopt;
    return Pass{loop[before], loop[after]};
}

bool crosses_at(const std::vector<Point2>& loop, std::size_t k) {
    const std::size_t n = loop.size();
    const Point2& x = loop[k];
    const std::optional<Pass> here = pass_at(loop, k);
    if (!here) return false;
    for (std::size_t m = 0; m < n; ++m) {
        poll_interrupt();
        const Point2& a = loop[m];
        const Point2& b = loop[(m + 1) % n];
        std::optional<Pass> other;
        if (m != k && a == x && !(loop[(m + n - 1) % n] == x)) {
            other = pass_at(loop, m);
        } else if (!(a == x) && !(b == x) && side_of(a, b, x) == 0 && on_ray(a, b, x) && on_ray(b, a, x)) {
            other = Pass{a, b};
        }
        if (other && passes_interleave(x, *here, *other)) return true;
    }
    return false;
}

}  // namespace

std::string where_loop_crosses(const std::vector<Point2>& loop) {
    const std::size_t n = loop.size();
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = i + 1; j < n; ++j) {
            poll_interrupt();
            if (edges_cross(loop[i], loop[(i + 1) % n], loop[j], loop[(j + 1) % n])) {
                return "edges " + std::to_string(i) + " and " + std::to_string(j) + " cross";
            }
        }
    }
    for (std::size_t k = 0; k < n; ++k) {
        if (crosses_at(loop, k)) return "the loop crosses itself at point " + std::to_string(k);
    }
    return "";
}

}  // namespace brevant
