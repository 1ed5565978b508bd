#include "solid/watertight.hpp"

#include <map>
#include <string>

#include "exact/interrupt.hpp"
#include "solid/line_key.hpp"

namespace brevant {
namespace {

// Along one line: the change of signed coverage at each side end (+sign where a side starts,
// −sign where it stops). Summing the changes in parameter order gives the coverage of each
// stretch between consecutive ends.
using CoverageSteps = std::map<Rational, int>;

bool balanced(const CoverageSteps& steps) {
    int coverage = 0;
    for (const auto& [t, step] : steps) {
        poll_interrupt();
        coverage += step;
        if (coverage != 0) return false;
    }
    return true;
}

}  // namespace

bool watertight_ok(const Solid& solid) {
    std::map<std::string, CoverageSteps> lines;
    for (const Polygon& polygon : solid.polygons) {
        const std::vector<Vec3>& v = polygon.vertices;
        for (std::size_t i = 0; i < v.size(); ++i) {
            poll_interrupt();
            const std::optional<SideOnLine> side = side_on_line(v[i], v[(i + 1) % v.size()]);
            if (!side) continue;
            const int sign = side->forward ? 1 : -1;
            CoverageSteps& steps = lines[side->key];
            steps[side->lo] += sign;
            steps[side->hi] -= sign;
        }
    }
    for (const auto& [key, steps] : lines) {
        if (!balanced(steps)) return false;
    }
    return true;
}

}  // namespace brevant
