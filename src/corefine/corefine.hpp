// Union, cut and intersect of two solids by cutting each face only where the other solid's surface
// meets it, classifying each piece once, and keeping whole every face the other solid does not
// reach.
//
// Notation: the operands are bodies (corefine/body.hpp): whole faces, possibly with holes. For
// every pair of faces whose boxes overlap, each face is cut along the closed section of the other
// (or, for two faces in one plane, along the other's sides). A piece then lies wholly outside the
// other solid, inside it, or on its surface, in a face of the same orientation (Same) or the
// opposite one (Opposite). Pieces joined along an uncut stretch of their solid's edges lie on the
// same side, so one exact point test (a ray from an inner point) serves every such group, and so
// does one test for every set of untouched faces sharing a point. The result's polygon form is
// the merged form of its faces, so an operation pays only for what it touches and the merge is
// paid once, when the polygons are read.
#pragma once

#include <vector>

#include "corefine/body.hpp"

namespace brevant {

enum class BooleanOp { Union, Cut, Intersect };

// The result as a body. A body with six-fold volume 0 counts as empty.
Body corefine(BooleanOp op, const Body& a, const Body& b);

// The union of all the bodies, independent of their order.
Body union_all(const std::vector<const Body*>& bodies);

// The same on solids, with the result in merged form.
Solid corefine(BooleanOp op, const Solid& a, const Solid& b);
Solid union_all(const std::vector<const Solid*>& solids);

}  // namespace brevant
