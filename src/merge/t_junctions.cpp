#include "merge/t_junctions.hpp"

#include <algorithm>
#include <unordered_map>

#include "exact/interrupt.hpp"
#include "merge/line3.hpp"

namespace brevant {
namespace {

struct Side {
    std::size_t loop, index;  // the side from vertex `index` to the next one
};

}  // namespace

void insert_t_junctions(std::vector<std::vector<Vec3>>& loops) {
    std::unordered_map<Line3, std::vector<Side>, Line3Hash> lines;
    for (std::size_t l = 0; l < loops.size(); ++l) {
        const std::size_t n = loops[l].size();
        for (std::size_t i = 0; i < n; ++i) {
            poll_interrupt();
            lines[line_through(loops[l][i], loops[l][(i + 1) % n])].push_back({l, i});
        }
    }
    // Per loop and vertex: the points to insert after that vertex, in order along the side.
    std::vector<std::vector<std::vector<Vec3>>> inserts(loops.size());
    for (std::size_t l = 0; l < loops.size(); ++l) inserts[l].resize(loops[l].size());
    for (const auto& [line, sides] : lines) {
        if (sides.size() < 2) continue;
        auto at = [axis = line.axis](const Vec3& p) -> const Rational& { return p[axis]; };
        std::vector<const Vec3*> ends;
        for (const Side& s : sides) {
            ends.push_back(&loops[s.loop][s.index]);
            ends.push_back(&loops[s.loop][(s.index + 1) % loops[s.loop].size()]);
        }
        std::sort(ends.begin(), ends.end(), [&](const Vec3* p, const Vec3* q) { return at(*p) < at(*q); });
        ends.erase(std::unique(ends.begin(), ends.end(), [&](const Vec3* p, const Vec3* q) { return at(*p) == at(*q); }),
                   ends.end());
        for (const Side& s : sides) {
            poll_interrupt();
            const Vec3& from = loops[s.loop][s.index];
            const Vec3& to = loops[s.loop][(s.index + 1) % loops[s.loop].size()];
            const bool ascending = at(from) < at(to);
            const Rational& lo = ascending ? at(from) : at(to);
            const Rational& hi = ascending ? at(to) : at(from);
            auto first = std::upper_bound(ends.begin(), ends.end(), lo, [&](const Rational& t, const Vec3* p) { return t < at(*p); });
            auto last = std::lower_bound(ends.begin(), ends.end(), hi, [&](const Vec3* p, const Rational& t) { return at(*p) < t; });
            std::vector<Vec3>& out = inserts[s.loop][s.index];
            for (auto it = first; it != last; ++it) out.push_back(**it);
            if (!ascending) std::reverse(out.begin(), out.end());
        }
    }
    for (std::size_t l = 0; l < loops.size(); ++l) {
        std::vector<Vec3> grown;
        for (std::size_t i = 0; i < loops[l].size(); ++i) {
            grown.push_back(loops[l][i]);
            grown.insert(grown.end(), inserts[l][i].begin(), inserts[l][i].end());
        }
        loops[l] = std::move(grown);
    }
}

}  // namespace brevant
