// Polygons and solids: a solid is a flat list of planar polygons without shared topology.
//
// Notation: a polygon's loop P0 … P(n−1) runs counter-clockwise seen from the side its normal
// (P1 − P0) × (P2 − P0) points to; constructors make normals point out of the solid. Each polygon
// carries a double shadow F0 … F(n−1) of its vertices for cheap pre-tests, and a face label
// "prefix.face" that every derived polygon keeps.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "exact/plane.hpp"
#include "exact/vec3.hpp"

namespace brevant {

using FloatVertex = std::array<double, 3>;

FloatVertex to_float_vertex(const Vec3& v);
std::vector<FloatVertex> to_float_vertices(const std::vector<Vec3>& vertices);

struct Polygon {
    std::vector<Vec3> vertices;
    std::vector<FloatVertex> float_vertices;
    std::string label;
    Plane plane;

    // Takes the loop and label; the plane comes from the first three vertices. Fewer than three
    // vertices fail.
    static Polygon make(std::vector<Vec3> vertices, std::string label);

    // The doubled vector area N: a fan of triangles from P0, summed; an empty loop fails.
    static Vec3 fan_normal(const std::vector<Vec3>& vertices);
    // N·N.
    static Rational area2(const std::vector<Vec3>& vertices);
    // area2(vertices) is not zero. `floats` are the shadows of `vertices`; the double test decides
    // only where it is a proof for any loop (up to ten vertices), the exact area elsewhere.
    static bool has_area(const std::vector<Vec3>& vertices, const std::vector<FloatVertex>& floats);
    bool is_degenerate() const;
    // Reversed loop, negated (not recomputed) plane, same label.
    Polygon flipped() const;
    // The same in place.
    void flip();
};

}  // namespace brevant
