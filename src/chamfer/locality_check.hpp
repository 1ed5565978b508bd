// Whether subtracting the pieces removed exactly what they were built to remove, decided exactly.
//
// Notation: a contact is a face of a piece meant to lie on a face of the solid, a stop one meant
// to lie in a face's plane beside it (convex_piece.hpp). The pieces were
// built for a distance small against the solid's features; with a larger one they reach through
// the solid, overlap, or eat a face whole. The cut removed exactly the pieces, and nothing of the
// solid's faces but the contacts, when:
//  - the volume removed is the pieces' volume summed (so the pieces lie inside the solid and do
//    not overlap);
//  - on every plane of the solid's faces, for each orientation, the result's area is the solid's
//    less the contacts in that plane and orientation, and more the stops turned over (so each
//    contact lay on a face of the solid, not inside it, each stop was left bare, and no other face
//    of the solid was touched);
//  - every face keeps some area after its contacts are taken away.
#pragma once

#include <vector>

#include "chamfer/convex_piece.hpp"
#include "chamfer/edge_map.hpp"

namespace brevant {

// Refuses as too large when any of the three fails.
void refuse_unless_local(const Solid& solid, const EdgeMap& map, const std::vector<ConvexPiece>& pieces,
                         const Solid& result);

// The first two for pieces added to `before` (filling concave edges): they were removed from its
// complement, so the checks hold with both solids turned inside out.
void refuse_unless_added(const Solid& before, const std::vector<ConvexPiece>& pieces, const Solid& after);

// The third, for the faces of `solid` (which `map` numbers) and all the pieces, removed or added.
void refuse_unless_faces_kept(const Solid& solid, const EdgeMap& map, const std::vector<ConvexPiece>& pieces);

}  // namespace brevant
