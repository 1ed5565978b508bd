// The one step of the local chamfer that changes the solid: subtracting the pieces it built, with
// the engine on whole faces, so that the cost follows the pieces and the result is merged.
//
// Notation: two pieces are apart when their interiors do not meet. Convex pieces are proven apart
// by their boxes, or by a face plane of one that has the other wholly on its outer side. Pieces
// all apart bound their union by their faces together: where two of them touch, their faces lie
// back to back and cancel when the engine merges its operand.
#pragma once

#include <vector>

#include "corefine/body.hpp"
#include "solid/solid.hpp"

namespace brevant {

// Whether every two of the closed outward convex pieces are proven apart.
bool pieces_apart(const std::vector<const Solid*>& pieces);

// p1 ∪ p2 ∪ … for closed outward convex pieces: their faces together when every two are proven
// apart, else the engine's union.
Solid union_of_pieces(const std::vector<Solid>& pieces);

// solid − (p1 ∪ p2 ∪ …), in merged form. `body`, when given, is the solid as the engine holds it
// (whole faces with holes, which a chamfer cuts around each hole's rim instead of across the
// merged form's strips); the result is the same either way.
Solid cut_away(const Solid& solid, const std::vector<Solid>& pieces, const Body* body = nullptr);

}  // namespace brevant
