#include "chamfer/face_planes.hpp"

namespace brevant {

Vec3 vector_area(const std::vector<Vec3>& loop) {
    Vec3 n{Rational(), Rational(), Rational()};
    for (std::size_t i = 1; i + 1 < loop.size(); ++i) {
        n = add(n, cross(sub(loop[i], loop[0]), sub(loop[i + 1], loop[0])));
    }
    return n;
}

Plane outward_plane(const Polygon& polygon) {
    const Vec3 n = vector_area(polygon.vertices);
    const int along = dot(polygon.plane.normal, n).sign();
    if (along > 0) return polygon.plane;
    if (along < 0) return polygon.plane.flipped();
    Rational offset = dot(n, polygon.vertices[0]);
    return {n, std::move(offset)};
}

OrientedKey oriented_key(const Plane& plane) {
    PlaneKey key = plane.canonical();
    const Vec3 k{Rational(key[0]), Rational(key[1]), Rational(key[2])};
    return {std::move(key), dot(k, plane.normal).sign()};
}

Rational area_measure(const std::vector<Vec3>& loop, const PlaneKey& key) {
    const Vec3 k{Rational(key[0]), Rational(key[1]), Rational(key[2])};
    return dot(vector_area(loop), k).abs();
}

}  // namespace brevant
