// Taking local pieces out of a solid without cutting: the result's faces are found from the
// boundaries alone, where that is provably what the engine would find.
//
// Notation: S is the solid (in merged form), K a piece (convex, outward), ∂ a boundary taken with
// its orientation. When the pieces lie inside S and are apart, ∂(S − ∪K) = ∂S − Σ ∂K plane by
// plane: on each face of S the contacts lying on it are taken out, and the pieces' plain faces,
// turned over, add up to the new faces, faces shared by two pieces cancelling. No side of one of
// these polygons crosses a side of another there, so the sums need no arrangement: sides cancel
// along their lines (net_boundary.hpp). The construction stands on what it checks exactly:
//  - the pieces are apart (cut_away.hpp);
//  - no polygon of S enters a piece (meets its inside);
//  - each contact lies in the oriented plane of the face it names, no side of that face passes
//    through the contact's inside, and the contact's centre lies on the face; the piece behind
//    it then holds points inside S, and, entered by no polygon of S, lies wholly inside S (a
//    piece without contacts is located by one inner point);
//  - no piece has a stop, and plain faces lying in a plane of S's faces cancel there;
//  - each face of S, and each plane of new faces, has one label, and every sum comes out as
//    loops that touch nowhere, each face with its outer loop known.
// These are the conditions under which the engine's cut (cut_away) leaves its result, whose
// merged form this result has too; where one fails, nothing is returned and the caller cuts.
#pragma once

#include <optional>
#include <vector>

#include "chamfer/convex_piece.hpp"
#include "chamfer/edge_map.hpp"
#include "corefine/body.hpp"

namespace brevant {

// S − (K1 ∪ K2 ∪ …) as the engine holds it, or nothing. `map` is the edge map of `solid`, which
// must be in merged form; `body`, when given, is the solid as the engine holds it. A face that
// loses all its area gives nothing too (the cut refuses it).
std::optional<Body> remove_local_pieces(const Solid& solid, const EdgeMap& map, const std::vector<ConvexPiece>& pieces,
                                        const Body* body);

}  // namespace brevant
