#include "solid/solid.hpp"

#include "exact/failure.hpp"
#include "exact/interrupt.hpp"
#include "solid/from_polygons.hpp"

namespace brevant {
namespace {

struct FaceRow {
    std::array<int, 4> corners;
    const char* box_name;
    const char* parallelepiped_name;
};

constexpr std::array<FaceRow, 6> kFaces{{
    {{0, 3, 2, 1}, "bottom", "b"},
    {{4, 5, 6, 7}, "top", "t"},
    {{0, 1, 5, 4}, "front", "f"},
    {{2, 3, 7, 6}, "back", "k"},
    {{1, 2, 6, 5}, "right", "r"},
    {{3, 0, 4, 7}, "left", "l"},
}};

Solid from_corners(const std::array<Vec3, 8>& corners, const std::string& prefix, bool box_names) {
    std::vector<Polygon> polygons;
    polygons.reserve(kFaces.size());
    for (const FaceRow& face : kFaces) {
        std::vector<Vec3> loop;
        loop.reserve(4);
        for (int c : face.corners) loop.push_back(corners[c]);
        polygons.push_back(
            Polygon::make(std::move(loop), prefix + "." + (box_names ? face.box_name : face.parallelepiped_name)));
    }
    return Solid::make(std::move(polygons));
}

bool is_zero(const Vec3& v) { return v[0].is_zero() && v[1].is_zero() && v[2].is_zero(); }

// The plane of a polygon's mapped loop. The first three points decide wherever they face the way
// the loop runs, as they did before planes were carried; they cannot where they are collinear or
// turn against the loop (a point on a straight run, a reflex corner at the start of a merged
// face), and there the polygon's own plane is carried. Either normal is mapped by `normal`: since
// (A·u) × (A·v) = cof(A)·(u × v), the first three points' normal mapped so is exactly the one of
// the mapped points, and cheaper than their cross product (mapped coordinates have longer
// fractions). A zero result comes from a loop that a singular map collapsed, or from a polygon that
// never had its plane; the mapped loop itself then decides.
Plane mapped_plane(const Polygon& p, const std::vector<Vec3>& moved, const VectorMap& normal) {
    const Vec3 first = cross(sub(p.vertices[1], p.vertices[0]), sub(p.vertices[2], p.vertices[0]));
    Vec3 n = normal(dot(first, p.plane.normal).sign() > 0 ? first : p.plane.normal);
    if (is_zero(n)) return face_loop_plane(moved);
    Rational offset = dot(n, moved[0]);
    return {std::move(n), std::move(offset)};
}

}  // namespace

Solid Solid::make(std::vector<Polygon> polygons) {
    Solid solid;
    solid.polygons.reserve(polygons.size());
    for (Polygon& p : polygons) {
        poll_interrupt();
        if (!p.is_degenerate()) solid.polygons.push_back(std::move(p));
    }
    return solid;
}

Solid Solid::cube(const Rational& dx, const Rational& dy, const Rational& dz, const std::string& prefix) {
    const Rational zero;
    const std::array<Vec3, 8> corners{{
        {zero, zero, zero},
        {dx, zero, zero},
        {dx, dy, zero},
        {zero, dy, zero},
        {zero, zero, dz},
        {dx, zero, dz},
        {dx, dy, dz},
        {zero, dy, dz},
    }};
    return from_corners(corners, prefix, true);
}

Solid parallelepiped(const std::array<Vec3, 8>& corners, const std::string& prefix) {
    return from_corners(corners, prefix, false);
}

Solid Solid::mapped(const VectorMap& point, const VectorMap& normal) const {
    Solid result;
    result.polygons.reserve(polygons.size());
    for (const Polygon& p : polygons) {
        poll_interrupt();
        if (p.vertices.size() < 3) throw InternalFailure("index out of range: a polygon needs three vertices");
        std::vector<Vec3> moved;
        moved.reserve(p.vertices.size());
        for (const Vec3& v : p.vertices) moved.push_back(point(v));
        Plane plane = mapped_plane(p, moved, normal);
        std::vector<FloatVertex> floats = to_float_vertices(moved);
        result.polygons.push_back({std::move(moved), std::move(floats), p.label, std::move(plane)});
    }
    return result;
}

Solid Solid::flipped() const {
    Solid result;
    result.polygons.reserve(polygons.size());
    for (const Polygon& p : polygons) {
        poll_interrupt();
        result.polygons.push_back(p.flipped());
    }
    return result;
}

}  // namespace brevant
