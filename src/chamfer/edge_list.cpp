#include "chamfer/edge_list.hpp"

#include <unordered_map>

#include "chamfer/refusals.hpp"
#include "exact/failure.hpp"
#include "merge/merged.hpp"

namespace brevant {

MergedEdges regular_edges(const Solid& merged, const char* operation) {
    MergedEdges edges = find_merged_edges(merged);
    if (edges.map.irregular) {
        throw Refusal(std::string(operation) + ": at " + refusal_point_text(edges.map.irregular->point) + ": " +
                      edges.map.irregular->reason);
    }
    return edges;
}

EdgeList list_edges(const Solid& solid) {
    const Solid own = solid.merged_form ? Solid{} : merged(solid);
    const Solid& merged_solid = solid.merged_form ? solid : own;
    MergedEdges found = regular_edges(merged_solid, "edges");
    EdgeList list;
    list.points = std::move(found.points);
    // Labels numbered by first use, looked up once per polygon.
    std::unordered_map<std::string, std::size_t> label_numbers;
    std::vector<std::size_t> label_of(merged_solid.polygons.size(), SIZE_MAX);
    const auto label = [&](std::size_t polygon) {
        std::size_t& n = label_of[polygon];
        if (n == SIZE_MAX) {
            const auto [it, added] = label_numbers.emplace(merged_solid.polygons[polygon].label, list.labels.size());
            if (added) list.labels.push_back(it->first);
            n = it->second;
        }
        return n;
    };
    list.edges.reserve(found.map.segments.size());
    for (std::size_t i = 0; i < found.map.segments.size(); ++i) {
        const Segment& s = found.map.segments[i];
        list.edges.push_back({found.ends[i][0], found.ends[i][1], label(s.a.polygon), label(s.b.polygon), s.convex});
    }
    return list;
}

}  // namespace brevant
