// Pairs of boxes that meet, found by a sweep along x: the candidates that exact tests then decide.
//
// Notation: a ShadowBox bounds double shadows of exact points. Rounding to the nearest double keeps
// order (a <= b gives round(a) <= round(b)), so exact boxes that meet have shadow boxes that meet
// (closed), and shadow boxes apart prove the exact ones apart.
#pragma once

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

#include "exact/interrupt.hpp"
#include "solid/solid.hpp"

namespace brevant {

struct ShadowBox {
    std::array<double, 3> lo, hi;
};

inline void extend(ShadowBox& box, const std::vector<FloatVertex>& points) {
    for (const FloatVertex& v : points) {
        for (std::size_t k = 0; k < 3; ++k) {
            box.lo[k] = std::min(box.lo[k], v[k]);
            box.hi[k] = std::max(box.hi[k], v[k]);
        }
    }
}

inline ShadowBox empty_box() {
    constexpr double inf = std::numeric_limits<double>::infinity();
    return {{inf, inf, inf}, {-inf, -inf, -inf}};
}

inline ShadowBox box_of(const std::vector<FloatVertex>& points) {
    ShadowBox box = empty_box();
    extend(box, points);
    return box;
}

// The box of every vertex of a solid.
inline ShadowBox box_of(const Solid& solid) {
    ShadowBox box = empty_box();
    for (const Polygon& p : solid.polygons) extend(box, p.float_vertices);
    return box;
}

inline bool boxes_meet(const ShadowBox& a, const ShadowBox& b) {
    for (std::size_t k = 0; k < 3; ++k) {
        if (a.hi[k] < b.lo[k] || b.hi[k] < a.lo[k]) return false;
    }
    return true;
}

// Calls meet(i, j) for each i of `a` and j of `b` whose boxes meet, by a sweep along x; stops at
// the first call that returns false, and returns false then.
template <class Meet>
bool all_pairs(const std::vector<ShadowBox>& a, const std::vector<ShadowBox>& b, Meet meet) {
    struct Item {
        double lo;
        std::size_t index;
        bool from_a;
    };
    std::vector<Item> items;
    items.reserve(a.size() + b.size());
    for (std::size_t i = 0; i < a.size(); ++i) items.push_back({a[i].lo[0], i, true});
    for (std::size_t j = 0; j < b.size(); ++j) items.push_back({b[j].lo[0], j, false});
    std::sort(items.begin(), items.end(), [](const Item& x, const Item& y) { return x.lo < y.lo; });
    std::vector<std::size_t> open_a, open_b;
    for (const Item& item : items) {
        poll_interrupt();  // every box
        const std::vector<ShadowBox>& others = item.from_a ? b : a;
        std::vector<std::size_t>& open = item.from_a ? open_b : open_a;
        std::erase_if(open, [&](std::size_t k) { return others[k].hi[0] < item.lo; });
        const ShadowBox& box = item.from_a ? a[item.index] : b[item.index];
        for (std::size_t k : open) {
            if (!boxes_meet(box, others[k])) continue;
            if (!(item.from_a ? meet(item.index, k) : meet(k, item.index))) return false;
        }
        (item.from_a ? open_a : open_b).push_back(item.index);
    }
    return true;
}

}  // namespace brevant
