// 2D coordinates in a plane: the plane a·x + b·y + c·z = d (its canonical quadruple) seen along
// the axis k where |(a, b, c)| is largest (the lowest such axis), by the coordinates k + 1 and
// k + 2 (mod 3) in that order. A loop turning counter-clockwise in these coordinates turns
// counter-clockwise about the normal sign(n_k)·(a, b, c) in space.
#pragma once

#include <optional>

#include "exact/plane.hpp"
#include "solid/polygon.hpp"

namespace brevant {

struct PlaneFrame {
    PlaneKey quadruple;
    int axis;
    std::array<Rational, 4> coefficients;  // the quadruple as rationals
    Rational inverse_axis;                  // 1 / quadruple[axis]

    static PlaneFrame of(const PlaneKey& quadruple);
    Point2 project(const Vec3& p) const;
    Vec3 lift(const Point2& q) const;
    // The plane whose normal is the one a counter-clockwise 2D loop turns about, times `sign`.
    Plane oriented(int sign) const;
};

// The plane a polygon lies in: its own when that has a normal, else one taken from its loop;
// nothing when every vertex lies on one line.
std::optional<Plane> polygon_plane(const Polygon& polygon);

}  // namespace brevant
