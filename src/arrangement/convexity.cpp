#include "arrangement/convexity.hpp"

#include "arrangement/orientation.hpp"

namespace brevant {
namespace {

bool winds_once(const std::vector<Point2>& loop) {
    const std::size_t n = loop.size();
    for (int axis = 0; axis < 2; ++axis) {
        int changes = 0, last = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const int d = (loop[(i + 1) % n][axis] - loop[i][axis]).sign();
            if (d == 0) continue;
            if (last != 0 && d != last) ++changes;
            last = d;
        }
        // The loop closes, so the count of changes round it is even; counted from a start it may
        // miss one.
        if (changes > 2) return false;
    }
    return true;
}

}  // namespace

int convex_turn(const std::vector<Point2>& loop, std::vector<std::size_t>* corners) {
    const std::size_t n = loop.size();
    std::vector<FloatPoint> f;
    f.reserve(n);
    for (const Point2& q : loop) f.push_back(shadow(q));
    int turn = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t before = (i + n - 1) % n, after = (i + 1) % n;
        const int t = orient_sign(loop[before], loop[i], loop[after], f[before], f[i], f[after]);
        if (t == 0) {
            const Point2& a = loop[before];
            const Point2& b = loop[i];
            const Point2& c = loop[after];
            if (((b[0] - a[0]) * (c[0] - b[0]) + (b[1] - a[1]) * (c[1] - b[1])).sign() <= 0) return 0;
            continue;
        }
        if (turn != 0 && t != turn) return 0;
        turn = t;
        if (corners) corners->push_back(i);
    }
    return turn != 0 && winds_once(loop) ? turn : 0;
}

}  // namespace brevant
