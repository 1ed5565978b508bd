// Union, cut and intersect of two solids by cutting each face only where the other solid's surface
// meets it, classifying each piece once, and merging what is kept.
//
// Notation: the operands are taken in their merged form. For every pair of faces whose boxes
// overlap, each face is cut along the closed section of the other (or, for two faces in one plane,
// along the other's sides). A piece then lies wholly outside the other solid, inside it, or on its
// surface, in a face of the same orientation (Same) or the opposite one (Opposite). Pieces joined
// along an uncut stretch of their solid's edges lie on the same side, so one exact point test
// (a ray from an inner point) serves every such group.
#pragma once

#include <vector>

#include "solid/solid.hpp"

namespace brevant {

enum class BooleanOp { Union, Cut, Intersect };

// The result in merged form. A solid with six-fold volume 0 counts as empty.
Solid corefine(BooleanOp op, const Solid& a, const Solid& b);

// The union of all the solids in merged form, independent of their order.
Solid union_all(const std::vector<const Solid*>& solids);

}  // namespace brevant
