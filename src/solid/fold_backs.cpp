#include "solid/fold_backs.hpp"

#include <numeric>

#include "exact/interrupt.hpp"
#include "solid/ear_clip.hpp"

namespace brevant {
namespace {

Rational dot2(const Point2& u, const Point2& v) { return u[0] * v[0] + u[1] * v[1]; }
Point2 minus(const Point2& p, const Point2& q) { return {p[0] - q[0], p[1] - q[1]}; }

// The loop as a ring of indices, points leaving it one by one.
class Ring {
public:
    explicit Ring(std::size_t n) : prev_(n), next_(n), side_(n), gone_(n, false), size_(n) {
        for (std::size_t i = 0; i < n; ++i) {
            prev_[i] = (i + n - 1) % n;
            next_[i] = (i + 1) % n;
            side_[i] = i;
        }
    }
    std::size_t prev(std::size_t i) const { return prev_[i]; }
    std::size_t next(std::size_t i) const { return next_[i]; }
    std::size_t& side(std::size_t i) { return side_[i]; }
    bool gone(std::size_t i) const { return gone_[i]; }
    std::size_t size() const { return size_; }

    void remove(std::size_t i) {
        next_[prev_[i]] = next_[i];
        prev_[next_[i]] = prev_[i];
        gone_[i] = true;
        --size_;
    }

    std::vector<KeptPoint> kept() const {
        std::vector<KeptPoint> points;
        std::size_t first = 0;
        while (gone_[first]) ++first;
        std::size_t i = first;
        do {
            points.push_back({i, side_[i]});
            i = next_[i];
        } while (i != first);
        return points;
    }

private:
    std::vector<std::size_t> prev_, next_, side_;
    std::vector<bool> gone_;
    std::size_t size_;
};

bool turns_back(const std::vector<Point2>& loop, std::size_t a, std::size_t b, std::size_t c) {
    const Point2 in = minus(loop[b], loop[a]);
    const Point2 out = minus(loop[c], loop[b]);
    return orient2(loop[a], loop[b], loop[c]).is_zero() && dot2(in, out).sign() < 0;
}

}  // namespace

std::optional<std::vector<KeptPoint>> without_fold_backs(const std::vector<const std::vector<Point2>*>& loops) {
    const std::vector<Point2>& first = *loops.front();
    const std::size_t n = first.size();
    if (n == 0) return std::nullopt;
    auto in_every_loop = [&](auto&& test) {
        for (const std::vector<Point2>* loop : loops) {
            if (!test(*loop)) return false;
        }
        return true;
    };
    Ring ring(n);
    std::vector<std::size_t> work(n);
    std::iota(work.rbegin(), work.rend(), std::size_t{0});  // popped from the back: 0 first
    bool turned = false;
    while (!work.empty() && ring.size() > 1) {
        poll_interrupt();
        const std::size_t b = work.back();
        work.pop_back();
        if (ring.gone(b)) continue;
        const std::size_t a = ring.prev(b);
        const std::size_t c = ring.next(b);
        if (in_every_loop([&](const auto& loop) { return loop[b] == loop[c]; })) {
            ring.remove(b);  // c keeps its own outgoing side; a's edge now ends at c, the same point
        } else if (in_every_loop([&](const auto& loop) { return turns_back(loop, a, b, c); })) {
            // The edge a → c lies in a's side unless c lies behind a, in the side that ran back.
            if (dot2(minus(first[c], first[a]), minus(first[b], first[a])).sign() < 0) ring.side(a) = ring.side(b);
            ring.remove(b);
            turned = true;
        } else {
            continue;
        }
        work.push_back(c);
        work.push_back(a);
    }
    if (!turned) return std::nullopt;
    return ring.kept();
}

std::vector<Point2> kept_points(const std::vector<Point2>& loop, const std::vector<KeptPoint>& kept) {
    std::vector<Point2> points;
    points.reserve(kept.size());
    for (const KeptPoint& k : kept) points.push_back(loop[k.point]);
    return points;
}

}  // namespace brevant
