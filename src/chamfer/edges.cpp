#include "chamfer/edges.hpp"

#include <algorithm>

#include "solid/line_key.hpp"
#include "solid/measures.hpp"

namespace brevant {
namespace {

void add_side(LineEntry& entry, const Plane& plane, const PlaneKey& key, const SideOnLine& side) {
    if (std::find(entry.plane_keys.begin(), entry.plane_keys.end(), key) == entry.plane_keys.end()) {
        entry.plane_keys.push_back(key);
        entry.planes.push_back(plane);
    }
    if (side.lo < entry.t_min) entry.t_min = side.lo;
    if (side.hi > entry.t_max) entry.t_max = side.hi;
}

}  // namespace

LineMap logical_edges(const Solid& solid) {
    LineMap lines;
    for (const Polygon& polygon : solid.polygons) {
        const std::vector<Vec3>& v = polygon.vertices;
        const PlaneKey key = polygon.plane.canonical();
        for (std::size_t i = 0; i < v.size(); ++i) {
            std::optional<SideOnLine> side = side_on_line(v[i], v[(i + 1) % v.size()]);
            if (!side) continue;
            auto it = lines.find(side->key);
            if (it == lines.end()) {
                it = lines.emplace(side->key, LineEntry{{}, {}, side->lo, side->hi, v[i], side->dir}).first;
            }
            add_side(it->second, polygon.plane, key, *side);
        }
    }
    return lines;
}

std::vector<Edge> select_edges(const LineMap& lines) {
    std::vector<Edge> edges;
    for (const auto& [key, entry] : lines) {
        if (entry.planes.size() != 2) continue;
        edges.push_back({entry.point, entry.dir, entry.t_min, entry.t_max, entry.planes[0], entry.planes[1]});
    }
    return edges;
}

Rational reach(const Solid& solid) {
    const auto [lo, hi] = bbox(solid);
    return (hi[0] - lo[0]) + (hi[1] - lo[1]) + (hi[2] - lo[2]) + Rational(1);
}

Vec3 point_at(const Edge& edge, const Rational& t) {
    return add(edge.point, smul((t - dot(edge.point, edge.dir)) / dot(edge.dir, edge.dir), edge.dir));
}

}  // namespace brevant
