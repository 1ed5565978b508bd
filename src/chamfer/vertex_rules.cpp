#include "chamfer/vertex_rules.hpp"

#include <algorithm>
#include <map>
#include <set>

#include "chamfer/corner_planner.hpp"
#include "chamfer/merged_edges.hpp"
#include "exact/interrupt.hpp"
#include "solid/measures.hpp"

namespace brevant {
namespace {

// Every segment end, keyed by key_of(point), and whether a segment runs on through the point.
template <typename Key, typename Compare, typename KeyOf>
std::map<Key, Corner, Compare> corners_of(const EdgeMap& map, const std::vector<std::optional<Bevel>>& bevels,
                                          KeyOf key_of) {
    std::map<Key, Corner, Compare> corners;
    for (std::size_t i = 0; i < map.segments.size(); ++i) {
        const Segment& s = map.segments[i];
        for (const bool at_start : {true, false}) {
            const Vec3& p = at_start ? s.start : s.end;
            Corner& corner = corners[key_of(p)];
            corner.point = p;
            corner.ends.push_back({i, at_start, at_start ? s.dir : neg(s.dir)});
        }
    }
    for (std::size_t i = 0; i < map.segments.size(); ++i) {
        for (const Vec3& joint : map.segments[i].joints) {
            poll_interrupt();  // every joint of every segment
            const auto it = corners.find(key_of(joint));
            if (it == corners.end()) continue;
            it->second.crossed = true;
            it->second.crossed_by_bevel = it->second.crossed_by_bevel || bevels[i].has_value();
        }
    }
    return corners;
}

// The corners where a bevelled segment ends or runs through, in the map's order.
template <typename Corners, typename Plan>
VertexPlan plan_corners(const EdgeMap& map, const std::vector<std::optional<Bevel>>& bevels, const Corners& corners,
                        Plan plan_one) {
    VertexPlan plan;
    plan.at_start.resize(map.segments.size());
    plan.at_end.resize(map.segments.size());
    for (const auto& [key, corner] : corners) {
        poll_interrupt();  // every vertex
        const bool has_bevelled_end = std::any_of(corner.ends.begin(), corner.ends.end(),
                                                  [&](const CornerEnd& e) { return bevels[e.segment].has_value(); });
        if (has_bevelled_end || corner.crossed_by_bevel) plan_one(corner, plan);
    }
    return plan;
}

struct PointOrder {
    bool operator()(const Vec3& a, const Vec3& b) const { return point_less(a, b); }
};

// "corner(l1,l2,...)": the labels of the faces around the corner, each once, in byte order.
std::string facet_label(const Corner& corner, const EdgeMap& map, const Solid& solid) {
    std::set<std::string> labels;
    for (const CornerEnd& e : corner.ends) {
        labels.insert(solid.polygons[map.segments[e.segment].a.polygon].label);
        labels.insert(solid.polygons[map.segments[e.segment].b.polygon].label);
    }
    std::string text = "corner(";
    for (const std::string& label : labels) text += (text.size() > 7 ? "," : "") + label;
    return text + ")";
}

}  // namespace

VertexPlan plan_vertices(const EdgeMap& map, const std::vector<std::optional<Bevel>>& bevels) {
    const auto corners = corners_of<std::string, std::less<>>(map, bevels, point_text);
    return plan_corners(map, bevels, corners, [&](const Corner& corner, VertexPlan& plan) {
        CornerPlanner(map, bevels, corner, plan, "corner.a").plan();
    });
}

VertexPlan plan_chosen_vertices(const EdgeMap& map, const std::vector<std::optional<Bevel>>& bevels,
                                const std::vector<char>& chosen, const Solid& solid) {
    const auto corners = corners_of<Vec3, PointOrder>(map, bevels, [](const Vec3& p) { return p; });
    return plan_corners(map, bevels, corners, [&](const Corner& corner, VertexPlan& plan) {
        CornerPlanner(map, bevels, corner, plan, facet_label(corner, map, solid), &chosen).plan();
    });
}

}  // namespace brevant
