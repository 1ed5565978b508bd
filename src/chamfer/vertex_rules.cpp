#include "chamfer/vertex_rules.hpp"

#include <algorithm>
#include <map>

#include "chamfer/corner_planner.hpp"
#include "exact/interrupt.hpp"
#include "solid/measures.hpp"

namespace brevant {
namespace {

// Every segment end, keyed by point text, and whether a segment runs on through the point.
std::map<std::string, Corner> corners_of(const EdgeMap& map) {
    std::map<std::string, Corner> corners;
    for (std::size_t i = 0; i < map.segments.size(); ++i) {
        const Segment& s = map.segments[i];
        for (const bool at_start : {true, false}) {
            const Vec3& p = at_start ? s.start : s.end;
            Corner& corner = corners[point_text(p)];
            corner.point = p;
            corner.ends.push_back({i, at_start, at_start ? s.dir : neg(s.dir)});
        }
    }
    for (const Segment& s : map.segments) {
        for (const Vec3& joint : s.joints) {
            poll_interrupt();  // every joint of every segment
            const auto it = corners.find(point_text(joint));
            if (it == corners.end()) continue;
            it->second.crossed = true;
            it->second.crossed_by_convex = it->second.crossed_by_convex || s.convex;
        }
    }
    return corners;
}

}  // namespace

VertexPlan plan_vertices(const EdgeMap& map, const std::vector<std::optional<Bevel>>& bevels) {
    VertexPlan plan;
    plan.at_start.resize(map.segments.size());
    plan.at_end.resize(map.segments.size());
    for (const auto& [key, corner] : corners_of(map)) {
        poll_interrupt();  // every vertex
        const bool has_convex_end = std::any_of(corner.ends.begin(), corner.ends.end(),
                                                [&](const CornerEnd& e) { return map.segments[e.segment].convex; });
        if (!has_convex_end && !corner.crossed_by_convex) continue;
        CornerPlanner(map, bevels, corner, plan).plan();
    }
    return plan;
}

}  // namespace brevant
