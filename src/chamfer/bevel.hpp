// The bevel of one convex edge, as the local chamfer builds it: the same setback as the edge
// cutter's, on faces whose unit normal may be irrational.
//
// Notation: P is a point of the edge, D its canonical direction, A and B its outward face planes.
// n̂ is a face's unit normal pointing out, exact when its length is rational and otherwise the
// integer normal divided by sqrt_approx of its squared length (exact/sqrt_approx.hpp): exactly
// parallel to the face, short of unit length by less than 2^-62 relative. wA = ±D × n̂A runs in
// A away from B, wB = ±D × n̂B in B away from A; the bevel plane passes through P + dist·wA and
// P + dist·wB along D, and faces the edge (P lies in front of it).
#pragma once

#include "chamfer/edge_map.hpp"

namespace brevant {

// n̂ of the header, along the plane's normal.
Vec3 face_unit_normal(const Plane& plane);

struct Bevel {
    Vec3 into_a;  // wA
    Vec3 into_b;  // wB
    Plane plane;
};

// For a convex segment and dist > 0.
Bevel bevel_of(const Segment& segment, const Rational& dist);

}  // namespace brevant
