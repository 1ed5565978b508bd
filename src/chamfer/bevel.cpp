#include "chamfer/bevel.hpp"

#include "exact/failure.hpp"
#include "exact/sqrt_approx.hpp"

namespace brevant {
namespace {

// The direction w or its negation, whichever leaves the edge behind `other` (into the face).
Vec3 into_face(const Plane& other, const Vec3& w) { return dot(other.normal, w).sign() > 0 ? neg(w) : w; }

}  // namespace

Vec3 face_unit_normal(const Plane& plane) {
    const PlaneKey q = plane.canonical();
    const Vec3 n{Rational(q[0]), Rational(q[1]), Rational(q[2])};
    const Rational length = sqrt_approx(dot(n, n));
    if (length.is_zero()) throw InternalFailure("division by zero");
    const Vec3 unit{n[0] / length, n[1] / length, n[2] / length};
    return dot(unit, plane.normal).sign() < 0 ? neg(unit) : unit;
}

Bevel bevel_of(const Segment& segment, const Rational& dist) {
    const Vec3& p = segment.start;
    const Vec3& d = segment.dir;
    Vec3 into_a = into_face(segment.b.plane, cross(d, face_unit_normal(segment.a.plane)));
    Vec3 into_b = into_face(segment.a.plane, cross(d, face_unit_normal(segment.b.plane)));
    const Vec3 q1 = add(p, smul(dist, into_a));
    const Vec3 q2 = add(p, smul(dist, into_b));
    Plane plane = Plane::from_points(q1, q2, add(q1, d));
    if (plane.side(p) < 0) plane = plane.flipped();
    return {std::move(into_a), std::move(into_b), std::move(plane)};
}

}  // namespace brevant
