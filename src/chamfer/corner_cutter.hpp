// Corner cutters: where exactly three edges end, the three bevels leave a small three-sided peak;
// a tetrahedron built from the three face planes, the three edge directions and the distance
// removes it, leaving a flat triangular facet.
//
// Notation: at a corner X the edge ends k = 0, 1, 2 have unit directions u_k pointing into their
// edges; s_i = u_(i+1) + u_(i+2) is the normal of the bevel of edge i, the bevel passing through
// X + dist·u_(i+1). The apex Y lies on all three bevels; Z_i lies on the face that does not hold
// edge i and on the bevels of the other two edges. Indices are taken mod 3.
#pragma once

#include <vector>

#include "chamfer/edges.hpp"

namespace brevant {

// The outward tetrahedra (faces labelled "corner.a" … "corner.d", the facet Z_0 Z_1 Z_2 being
// "corner.a") of every corner where exactly three edges end, in byte-wise order of the corners'
// point texts. Corners that cannot be built exactly, and flat tetrahedra, are left out.
std::vector<Solid> corner_cutters(const std::vector<Edge>& edges, const Rational& dist);

}  // namespace brevant
