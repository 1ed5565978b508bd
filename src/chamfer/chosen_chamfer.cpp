#include "chamfer/chosen_chamfer.hpp"

#include <algorithm>

#include "chamfer/cut_away.hpp"
#include "chamfer/edge_list.hpp"
#include "chamfer/locality_check.hpp"
#include "chamfer/refusals.hpp"
#include "chamfer/vertex_rules.hpp"
#include "chamfer/wedges.hpp"
#include "corefine/corefine.hpp"
#include "exact/failure.hpp"
#include "merge/merged.hpp"

namespace brevant {
namespace {

constexpr const char* kName = "chamfer_edges";

[[noreturn]] void refuse(const std::string& reason) { throw Refusal(std::string(kName) + ": " + reason); }

std::size_t index_of(const EdgeChoice& choice, const MergedEdges& edges) {
    const std::size_t count = edges.map.segments.size();
    if (choice.index) {
        if (*choice.index < 0 || static_cast<std::size_t>(*choice.index) >= count) {
            refuse("edge index " + std::to_string(*choice.index) + " is out of range: the solid has " +
                   std::to_string(count) + " edges");
        }
        return static_cast<std::size_t>(*choice.index);
    }
    const bool ordered = !point_less(choice.end, choice.start);
    const Vec3& start = ordered ? choice.start : choice.end;
    const Vec3& end = ordered ? choice.end : choice.start;
    const auto& segments = edges.map.segments;
    const auto it = std::lower_bound(segments.begin(), segments.end(), std::pair{&start, &end},
                                     [](const Segment& s, const std::pair<const Vec3*, const Vec3*>& key) {
                                         if (s.start != *key.first) return point_less(s.start, *key.first);
                                         return point_less(s.end, *key.second);
                                     });
    if (it == segments.end() || it->start != start || it->end != end) {
        refuse("no edge of the solid runs from " + refusal_point_text(start) + " to " + refusal_point_text(end));
    }
    return static_cast<std::size_t>(it - segments.begin());
}

std::vector<char> chosen_segments(const std::optional<std::vector<EdgeChoice>>& edges, const MergedEdges& found) {
    std::vector<char> chosen(found.map.segments.size(), 0);
    if (!edges) {
        for (std::size_t i = 0; i < chosen.size(); ++i) chosen[i] = found.map.segments[i].convex ? 1 : 0;
        return chosen;
    }
    for (const EdgeChoice& choice : *edges) chosen[index_of(choice, found)] = 1;
    return chosen;
}

// The map of the complement: every face turned, so convex and concave swap.
EdgeMap complement(EdgeMap map) {
    for (Segment& s : map.segments) {
        s.convex = !s.convex;
        s.a.plane = s.a.plane.flipped();
        s.b.plane = s.b.plane.flipped();
    }
    return map;
}

// The pieces that chamfer the chosen segments convex in `map`, the solid's map or its complement's.
std::vector<ConvexPiece> pieces_for(const EdgeMap& map, const std::vector<char>& chosen, const Solid& solid,
                                    const Rational& dist_a, const Rational& dist_b, const char* kind) {
    std::vector<std::optional<Bevel>> bevels(map.segments.size());
    bool any = false;
    for (std::size_t i = 0; i < map.segments.size(); ++i) {
        const Segment& s = map.segments[i];
        if (!chosen[i] || !s.convex) continue;
        const std::string label = std::string(kind) + "(" + solid.polygons[s.a.polygon].label + "," +
                                  solid.polygons[s.b.polygon].label + ")";
        bevels[i] = true_bevel_of(s, dist_a, dist_b, label);
        any = true;
    }
    if (!any) return {};
    const VertexPlan plan = plan_chosen_vertices(map, bevels, chosen, solid);
    std::vector<ConvexPiece> pieces = wedge_pieces(map, bevels, plan);
    for (const VertexPiece& v : plan.pieces) {
        if (std::optional<ConvexPiece> piece = cut_seed(v.seed, v.cuts)) pieces.push_back(std::move(*piece));
    }
    return pieces;
}

std::vector<Solid> solids_of(const std::vector<ConvexPiece>& pieces) {
    std::vector<Solid> solids;
    solids.reserve(pieces.size());
    for (const ConvexPiece& p : pieces) solids.push_back(p.solid);
    return solids;
}

Solid chamfer_merged(const Solid& solid, const std::optional<std::vector<EdgeChoice>>& edges, const Rational& dist_a,
                     const Rational& dist_b, const Body* body) {
    MergedEdges found = regular_edges(solid, kName);
    const std::vector<char> chosen = chosen_segments(edges, found);
    if (dist_a.is_zero() || std::none_of(chosen.begin(), chosen.end(), [](char c) { return c != 0; })) return solid;
    add_directions(found.map);
    const std::vector<ConvexPiece> cuts = pieces_for(found.map, chosen, solid, dist_a, dist_b, "bevel");
    const std::vector<ConvexPiece> fills = pieces_for(complement(found.map), chosen, solid, dist_a, dist_b, "fill");

    Solid result = solid;
    if (!cuts.empty()) {
        result = cut_away(solid, solids_of(cuts), body);
        refuse_unless_local(solid, found.map, cuts, result);
    }
    if (!fills.empty()) {
        Solid filled = corefine(BooleanOp::Union, result, union_of_pieces(solids_of(fills)));
        refuse_unless_added(result, fills, filled);
        std::vector<ConvexPiece> all = cuts;
        all.insert(all.end(), fills.begin(), fills.end());
        refuse_unless_faces_kept(solid, found.map, all);
        result = std::move(filled);
    }
    return result;
}

}  // namespace

Solid chamfer_edges(const Solid& solid, const std::optional<std::vector<EdgeChoice>>& edges, const Rational& dist_a,
                    const Rational& dist_b, const Body* body) {
    if (dist_a.sign() < 0 || dist_b.sign() < 0) refuse("the distance is negative");
    if (dist_a.is_zero() != dist_b.is_zero()) refuse("an unequal chamfer needs both distances positive");
    const Solid own = solid.merged_form ? Solid{} : merged(solid);
    try {
        return chamfer_merged(solid.merged_form ? solid : own, edges, dist_a, dist_b, body);
    } catch (const Refusal& refusal) {
        // The vertex rules and the checks they share with the chamfer name it in their refusals.
        const std::string message = refusal.what();
        const std::string shared = "chamfer: ";
        if (message.rfind(shared, 0) == 0) refuse(message.substr(shared.size()));
        throw;
    }
}

}  // namespace brevant
