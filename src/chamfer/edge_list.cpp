#include "chamfer/edge_list.hpp"

#include <unordered_map>

#include "chamfer/refusals.hpp"
#include "exact/failure.hpp"
#include "merge/merged.hpp"

namespace brevant {

namespace {

void refuse_irregular(const std::optional<Irregularity>& irregular, const char* operation) {
    if (irregular) {
        throw Refusal(std::string(operation) + ": at " + refusal_point_text(irregular->point) + ": " + irregular->reason);
    }
}

}  // namespace

MergedEdges regular_edges(const Solid& merged, const char* operation) {
    MergedEdges edges = find_merged_edges(merged);
    refuse_irregular(edges.map.irregular, operation);
    return edges;
}

EdgeList list_edges(const Solid& solid) {
    const Solid own = solid.merged_form ? Solid{} : merged(solid);
    const Solid& merged_solid = solid.merged_form ? solid : own;
    EdgeOutline found = outline_merged_edges(merged_solid);
    refuse_irregular(found.irregular, "edges");
    EdgeList list;
    list.points = std::move(found.points);
    // Labels numbered by first use, looked up once per polygon.
    std::unordered_map<std::string, std::size_t> label_numbers;
    std::vector<std::size_t> label_of(merged_solid.polygons.size(), SIZE_MAX);
    const auto label = [&](std::size_t polygon) {
        std::size_t& n = label_of[polygon];
        if (n == SIZE_MAX) {
            const auto [it, added] = label_numbers.try_emplace(merged_solid.polygons[polygon].label, list.labels.size());
            if (added) list.labels.push_back(it->first);
            n = it->second;
        }
        return n;
    };
    list.edges.reserve(found.segments.size());
    for (const SegmentOutline& s : found.segments) {
        list.edges.push_back({s.start, s.end, label(s.poly_a), label(s.poly_b), s.convex});
    }
    return list;
}

}  // namespace brevant
