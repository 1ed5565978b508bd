// Face planes of a polygon soup as the local chamfer reads them: oriented by each polygon's own
// area, so that a plane whose first three vertices happen to be collinear still has a normal.
//
// Notation: N is the doubled vector area of a loop (the fan sum Σ (Pi − P0) × (Pi+1 − P0)); for a
// face of an outward solid it points out. Two polygons lie in the same oriented plane when their
// outward planes have the same canonical quadruple and their normals point the same way.
#pragma once

#include <cstddef>
#include <vector>

#include "solid/solid.hpp"

namespace brevant {

Vec3 vector_area(const std::vector<Vec3>& loop);

// The polygon's plane, turned to point along N; N and N·P0 when that plane has no normal.
Plane outward_plane(const Polygon& polygon);

// The canonical quadruple of a plane and the side of it its normal points to (+1 along the
// quadruple's (a, b, c), −1 against it): equal exactly for polygons in the same oriented plane.
struct OrientedKey {
    PlaneKey key;
    int orientation;
    auto operator<=>(const OrientedKey&) const = default;
};
OrientedKey oriented_key(const Plane& plane);

// A number proportional to the polygon's area, the same factor for every polygon of one plane:
// N·(a, b, c) for the plane's canonical quadruple, taken positive.
Rational area_measure(const std::vector<Vec3>& loop, const PlaneKey& key);

}  // namespace brevant
