// The edges of a polygon soup, found by grouping polygon sides by the line they lie on.
//
// Notation: D is a line's canonical integer direction (not unit length) and t = X·D the parameter
// of a point X along it; a line entry records the distinct face planes (by canonical quadruple)
// that have a side on the line and the span t_min … t_max of those sides. An Edge is a line where
// exactly two face planes meet. The reach R is the bounding box's x, y and z extents plus one:
// the one size every cutter is built from.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "solid/solid.hpp"

namespace brevant {

struct LineEntry {
    std::vector<PlaneKey> plane_keys;  // in order of first appearance
    std::vector<Plane> planes;         // the plane of the polygon that brought each key
    Rational t_min;
    Rational t_max;
    Vec3 point;  // start of the first side found on the line
    Vec3 dir;    // D
};

// Keyed by line key, iterated in byte-wise key order.
using LineMap = std::map<std::string, LineEntry>;

struct Edge {
    Vec3 point;
    Vec3 dir;
    Rational t_min;
    Rational t_max;
    Plane plane_a;
    Plane plane_b;
};

LineMap logical_edges(const Solid& solid);
// The entries with exactly two planes, in key order.
std::vector<Edge> select_edges(const LineMap& lines);
// Fails for a solid without polygons (it has no bounding box).
Rational reach(const Solid& solid);

// The point of the edge's line with parameter t.
Vec3 point_at(const Edge& edge, const Rational& t);

}  // namespace brevant
