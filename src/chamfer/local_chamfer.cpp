#include "chamfer/local_chamfer.hpp"

#include "chamfer/cut_away.hpp"
#include "chamfer/local_removal.hpp"
#include "chamfer/locality_check.hpp"
#include "chamfer/refusals.hpp"
#include "chamfer/wedges.hpp"

namespace brevant {

std::optional<ChamferPieces> chamfer_pieces(const Solid& solid, const Rational& dist) {
    EdgeMap map = map_edges(solid);
    if (map.irregular) refuse_vertex(map.irregular->point, map.irregular->reason);
    std::vector<std::optional<Bevel>> bevels(map.segments.size());
    bool any_convex = false;
    for (std::size_t i = 0; i < map.segments.size(); ++i) {
        if (!map.segments[i].convex) continue;
        bevels[i] = bevel_of(map.segments[i], dist);
        any_convex = true;
    }
    if (!any_convex) return std::nullopt;

    const VertexPlan plan = plan_vertices(map, bevels);
    std::vector<ConvexPiece> pieces = wedge_pieces(map, bevels, plan);
    for (const VertexPiece& v : plan.pieces) {
        if (std::optional<ConvexPiece> piece = cut_seed(v.seed, v.cuts)) pieces.push_back(std::move(*piece));
    }
    return ChamferPieces{std::move(map), std::move(pieces)};
}

Chamfered chamfer_locally(const Solid& solid, const Rational& dist, const Body* body) {
    const std::optional<ChamferPieces> made = chamfer_pieces(solid, dist);
    if (!made) return solid;
    const auto& [map, pieces] = *made;
    if (std::optional<Body> result = remove_local_pieces(solid, map, pieces, body)) return std::move(*result);
    std::vector<Solid> cutters;
    cutters.reserve(pieces.size());
    for (const ConvexPiece& piece : pieces) cutters.push_back(piece.solid);
    Solid result = cut_away(solid, cutters, body);
    refuse_unless_local(solid, map, pieces, result);
    return result;
}

}  // namespace brevant
