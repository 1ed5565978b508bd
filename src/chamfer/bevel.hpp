// The bevel of one convex edge, as the local chamfer builds it: the same setback as the edge
// cutter's (chamfer), or a true distance in each face (chamfer_edges), on faces whose unit normal
// may be irrational.
//
// Notation: P is a point of the edge, D its canonical direction, A and B its outward face planes.
// n̂ is a face's unit normal pointing out, exact when its length is rational and otherwise the
// integer normal divided by sqrt_approx of its squared length (exact/sqrt_approx.hpp): exactly
// parallel to the face, short of unit length by less than 2^-62 relative. wA = ±D × n̂A runs in
// A away from B, wB = ±D × n̂B in B away from A, each |D| long; ŵA and ŵB are the same directions
// made unit long the same way (D × N over sqrt_approx of its squared length), so exactly
// perpendicular to the edge and within a relative 2^-62 of unit length. The chamfer sets the bevel
// back by dist·wA and dist·wB (dist·|D| in each face), chamfer_edges by dA·ŵA and dB·ŵB; the bevel
// plane passes through those two points along D and faces the edge (P lies in front of it).
#pragma once

#include <string>

#include "chamfer/edge_map.hpp"

namespace brevant {

// n̂ of the header, along the plane's normal.
Vec3 face_unit_normal(const Plane& plane);

struct Bevel {
    Vec3 to_a;  // from the edge to where the bevel meets face A: dist·wA or dA·ŵA
    Vec3 to_b;
    Plane plane;
    std::string label;  // of the bevel's face
};

// For a convex segment and dist > 0: the chamfer's bevel, labelled "chamfer.b".
Bevel bevel_of(const Segment& segment, const Rational& dist);

// For a convex segment with its direction set and dA, dB > 0.
Bevel true_bevel_of(const Segment& segment, const Rational& dist_a, const Rational& dist_b, std::string label);

}  // namespace brevant
