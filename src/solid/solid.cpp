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

// The plane of a mapped loop, given its carried normal. The first three points decide wherever
// they face the way the loop runs, as they did before planes were carried; they cannot where
// they are collinear or turn against the loop (a point on a straight run, a reflex corner at
// the start of a merged face), and there the carried plane holds. A zero carried normal comes
// from a zero plane (a loop a singular map had collapsed, which stays collapsed) or from a polygon
// that never had its plane; the loop itself then decides.
Plane mapped_plane(const Vec3& carried, const std::vector<Vec3>& loop) {
    Plane first = Plane::from_points(loop[0], loop[1], loop[2]);
    if (dot(first.normal, carried).sign() > 0) return first;
    if (carried[0].is_zero() && carried[1].is_zero() && carried[2].is_zero()) return face_loop_plane(loop);
    Rational offset = dot(carried, loop[0]);
    return {carried, std::move(offset)};
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
        Plane plane = mapped_plane(normal(p.plane.normal), moved);
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
