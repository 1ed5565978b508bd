#include "solid/ear_clip.hpp"

#include <optional>

#include "exact/interrupt.hpp"

namespace brevant {

namespace {

// Whether p keeps the counter-clockwise triangle a, b, c from being an ear.
bool blocks(const Point2& a, const Point2& b, const Point2& c, const Point2& p, Blocking blocking) {
    if (blocking == Blocking::OpenTriangle) {
        return orient2(a, b, p).sign() > 0 && orient2(b, c, p).sign() > 0 && orient2(c, a, p).sign() > 0;
    }
    if (p == a || p == b || p == c) return false;
    return orient2(a, b, p).sign() >= 0 && orient2(b, c, p).sign() >= 0 && orient2(c, a, p).sign() >= 0;
}

std::optional<std::size_t> first_ear(const std::vector<Point2>& v, Blocking blocking) {
    const std::size_t n = v.size();
    for (std::size_t i = 0; i < n; ++i) {
        poll_interrupt();  // clipping a loop is cubic in its length
        const std::size_t prev = (i + n - 1) % n;
        const std::size_t next = (i + 1) % n;
        if (orient2(v[prev], v[i], v[next]).sign() <= 0) continue;
        bool blocked = false;
        for (std::size_t j = 0; j < n && !blocked; ++j) {
            poll_interrupt();
            if (j != prev && j != i && j != next) blocked = blocks(v[prev], v[i], v[next], v[j], blocking);
        }
        if (!blocked) return i;
    }
    return std::nullopt;
}

}  // namespace

EarClipping clip_ears_by(std::vector<Point2> v,
                         const std::function<std::optional<std::size_t>(const std::vector<Point2>&)>& first_ear,
                         const std::function<void(std::vector<Point2>&)>& after_cut) {
    EarClipping result;
    while (v.size() > 3) {
        const std::optional<std::size_t> ear = first_ear(v);
        if (!ear) {
            result.remainder = std::move(v);
            return result;
        }
        const std::size_t n = v.size();
        const std::size_t i = *ear;
        result.triangles.push_back({v[(i + n - 1) % n], v[i], v[(i + 1) % n]});
        v.erase(v.begin() + static_cast<std::ptrdiff_t>(i));
        after_cut(v);
    }
    if (v.size() == 3) result.triangles.push_back({v[0], v[1], v[2]});
    return result;
}

EarClipping clip_ears(const std::vector<Point2>& loop, Blocking blocking) {
    return clip_ears_by(
        loop, [blocking](const std::vector<Point2>& v) { return first_ear(v, blocking); },
        [](std::vector<Point2>&) {});
}

std::vector<Triangle2> ear_clip(const std::vector<Point2>& loop) {
    return clip_ears(loop, Blocking::OpenTriangle).triangles;
}

}  // namespace brevant
