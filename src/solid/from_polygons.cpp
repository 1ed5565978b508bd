#include "solid/from_polygons.hpp"

#include "exact/failure.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

bool vanishes(const Vec3& v) { return v[0].is_zero() && v[1].is_zero() && v[2].is_zero(); }

// Whether one plane holds every point: the normal of the first triangle P0, Pa, Pb that is not
// flat must be orthogonal to every later point's offset from P0 (earlier points lie on the line
// P0 Pa). Points all on one line are coplanar.
bool is_coplanar(const std::vector<Vec3>& loop) {
    const Vec3& p0 = loop[0];
    std::size_t k = 1;
    while (k < loop.size() && loop[k] == p0) ++k;
    if (k == loop.size()) return true;
    const Vec3 along = sub(loop[k], p0);
    Vec3 normal;
    for (++k; k < loop.size(); ++k) {
        poll_interrupt();
        normal = cross(along, sub(loop[k], p0));
        if (!vanishes(normal)) break;
    }
    for (++k; k < loop.size(); ++k) {
        poll_interrupt();
        if (!dot(normal, sub(loop[k], p0)).is_zero()) return false;
    }
    return true;
}

void refuse_unless_planar(const std::vector<Vec3>& loop, std::size_t index) {
    const std::string polygon = "polygon " + std::to_string(index);
    if (loop.size() < 3) {
        throw Refusal("solid_from_polygons: " + polygon + " has " + std::to_string(loop.size()) +
                      " points; a polygon needs at least 3");
    }
    if (!is_coplanar(loop)) throw Refusal("solid_from_polygons: the points of " + polygon + " do not lie in one plane");
}

}  // namespace

Plane face_loop_plane(const std::vector<Vec3>& loop) {
    Plane plane = Plane::from_points(loop.at(0), loop.at(1), loop.at(2));
    Vec3 normal = Polygon::fan_normal(loop);
    if (dot(plane.normal, normal).sign() > 0) return plane;
    Rational offset = dot(normal, loop[0]);
    return {std::move(normal), std::move(offset)};
}

Solid solid_from_polygons(std::vector<FaceLoop> faces) {
    std::vector<Polygon> polygons;
    polygons.reserve(faces.size());
    for (std::size_t i = 0; i < faces.size(); ++i) {
        poll_interrupt();
        FaceLoop& face = faces[i];
        refuse_unless_planar(face.loop, i);
        Plane plane = face_loop_plane(face.loop);
        std::vector<FloatVertex> floats = to_float_vertices(face.loop);
        polygons.push_back({std::move(face.loop), std::move(floats), std::move(face.label), std::move(plane)});
    }
    return Solid::make(std::move(polygons));
}

}  // namespace brevant
