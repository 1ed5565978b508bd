// 2D coordinates in a plane. The plane a·x + b·y + c·z = d is named by its coefficients divided by
// the first nonzero one of a, b, c (the key), the same for every description of the plane whatever
// its scale or orientation. It is seen along the axis k where |(a, b, c)| is largest (the lowest
// such axis), by the coordinates k + 1 and k + 2 (mod 3) in that order. A loop turning
// counter-clockwise in these coordinates turns counter-clockwise about the normal sign(n_k)·(a, b, c)
// in space.
#pragma once

#include <array>
#include <optional>

#include "exact/plane.hpp"
#include "solid/polygon.hpp"

namespace brevant {

using PlaneKey4 = std::array<Rational, 4>;

struct PlaneKey4Hash {
    std::size_t operator()(const PlaneKey4& k) const;
};

// Planes by their coefficients as given (not normalised): polygons copied from one face share
// their plane exactly, so a cache keyed this way computes each frame once.
struct PlaneHash {
    std::size_t operator()(const Plane& p) const {
        return ((p.normal[0].hash() * 31 + p.normal[1].hash()) * 31 + p.normal[2].hash()) * 31 + p.offset.hash();
    }
};
struct PlaneEqual {
    bool operator()(const Plane& p, const Plane& q) const { return p.normal == q.normal && p.offset == q.offset; }
};

struct PlaneFrame {
    PlaneKey4 key;
    int axis;
    Rational inverse_axis;  // 1 / key[axis]

    // The frame of a plane with a nonzero normal.
    static PlaneFrame of(const Plane& plane);
    Point2 project(const Vec3& p) const;
    Vec3 lift(const Point2& q) const;
    // The plane whose normal is the one a counter-clockwise 2D loop turns about, times `sign`.
    Plane oriented(int sign) const;
};

// The plane a polygon lies in: its own when that has a normal, else one taken from its loop;
// nothing when every vertex lies on one line.
std::optional<Plane> polygon_plane(const Polygon& polygon);

}  // namespace brevant
