#include "chamfer/bevel.hpp"

#include "exact/failure.hpp"
#include "exact/sqrt_approx.hpp"

namespace brevant {
namespace {

// The direction w or its negation, whichever leaves the edge behind `other` (into the face).
Vec3 into_face(const Plane& other, const Vec3& w) { return dot(other.normal, w).sign() > 0 ? neg(w) : w; }

// v over sqrt_approx of v·v.
Vec3 about_unit(const Vec3& v) {
    const Rational length = sqrt_approx(dot(v, v));
    if (length.is_zero()) throw InternalFailure("division by zero");
    return {v[0] / length, v[1] / length, v[2] / length};
}

Bevel bevel_through(const Segment& segment, Vec3 to_a, Vec3 to_b, std::string label) {
    const Vec3& p = segment.start;
    const Vec3 q1 = add(p, to_a);
    const Vec3 q2 = add(p, to_b);
    Plane plane = Plane::from_points(q1, q2, add(q1, segment.dir));
    if (plane.side(p) < 0) plane = plane.flipped();
    return {std::move(to_a), std::move(to_b), std::move(plane), std::move(label)};
}

// A normal along a coordinate axis is its own unit normal's multiple: ±e_k, with no gcd or root.
std::optional<Vec3> axis_unit_normal(const Vec3& n) {
    int axis = -1;
    for (int k = 0; k < 3; ++k) {
        if (n[k].is_zero()) continue;
        if (axis >= 0) return std::nullopt;
        axis = k;
    }
    if (axis < 0) return std::nullopt;
    Vec3 unit{Rational(), Rational(), Rational()};
    unit[axis] = Rational(n[axis].sign());
    return unit;
}

}  // namespace

Vec3 face_unit_normal(const Plane& plane) {
    if (std::optional<Vec3> unit = axis_unit_normal(plane.normal)) return std::move(*unit);
    const PlaneKey q = plane.canonical();
    const Vec3 unit = about_unit({Rational(q[0]), Rational(q[1]), Rational(q[2])});
    return dot(unit, plane.normal).sign() < 0 ? neg(unit) : unit;
}

Bevel bevel_of(const Segment& segment, const Rational& dist) {
    const Vec3& d = segment.dir;
    const Vec3 into_a = into_face(segment.b.plane, cross(d, face_unit_normal(segment.a.plane)));
    const Vec3 into_b = into_face(segment.a.plane, cross(d, face_unit_normal(segment.b.plane)));
    return bevel_through(segment, smul(dist, into_a), smul(dist, into_b), "chamfer.b");
}

Bevel true_bevel_of(const Segment& segment, const Rational& dist_a, const Rational& dist_b, std::string label) {
    const Vec3& d = segment.dir;
    const Vec3 into_a = into_face(segment.b.plane, about_unit(cross(d, segment.a.plane.normal)));
    const Vec3 into_b = into_face(segment.a.plane, about_unit(cross(d, segment.b.plane.normal)));
    return bevel_through(segment, smul(dist_a, into_a), smul(dist_b, into_b), std::move(label));
}

}  // namespace brevant
