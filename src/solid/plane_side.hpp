// Which side of a plane a vertex lies on, decided from double shadows where they prove it.
//
// Notation: a vertex is in front of a plane when normal·v > offset (side +1), behind when it is
// below (side −1), on it otherwise (side 0). PlaneF64 is the plane's normal and offset rounded to
// doubles, used only to pre-test vertex sides; the exact test decides whatever they cannot prove.
#pragma once

#include "solid/polygon.hpp"

namespace brevant {

struct PlaneF64 {
    double nx, ny, nz, w;
};

PlaneF64 plane_f64(const Plane& plane);

// The side of a vertex (−1, 0, +1), from its double shadow `v` where that proves it, else exactly.
int vertex_side(const Plane& plane, const PlaneF64& fast, const FloatVertex& v, const Vec3& exact);

}  // namespace brevant
