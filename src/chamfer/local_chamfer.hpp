// The chamfer of a closed solid of any shape, built from pieces local to its convex edges.
//
// Every convex edge is bevelled with the edge cutter's setback; concave edges stay sharp; each
// vertex where a convex edge ends is resolved as vertex_rules.hpp describes. The material removed
// is the union of convex pieces (wedges along the convex edges, pieces at some vertices) that do
// not overlap, taken out of the solid from the boundaries alone where that is provably right
// (local_removal.hpp), else subtracted in one step by the engine on whole faces (cut_away.hpp) and
// the result, in merged form, checked (locality_check.hpp).
#pragma once

#include <optional>
#include <variant>

#include "chamfer/convex_piece.hpp"
#include "chamfer/edge_map.hpp"
#include "corefine/body.hpp"

namespace brevant {

// A chamfered solid: as polygons, or as the engine holds it (its polygons, when read, the merged
// form).
using Chamfered = std::variant<Solid, Body>;

struct ChamferPieces {
    EdgeMap map;
    std::vector<ConvexPiece> pieces;
};

// For dist > 0: the pieces to remove, on the edge map they were built from; nothing when the solid
// has no convex edge. Refuses a vertex it cannot resolve; a dist too large shows only in removing.
std::optional<ChamferPieces> chamfer_pieces(const Solid& solid, const Rational& dist);

// For dist > 0; the result is merged, or the solid itself when it has no convex edge. Refusals: a
// vertex it cannot resolve (whatever dist), then a dist too large.
// `body`, when given, is the solid as the engine holds it (cut_away.hpp).
Chamfered chamfer_locally(const Solid& solid, const Rational& dist, const Body* body = nullptr);

}  // namespace brevant
