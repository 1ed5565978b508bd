#include "chamfer/edge_cutter.hpp"

#include <algorithm>

#include "exact/failure.hpp"
#include "solid/measures.hpp"

namespace brevant {
namespace {

Vec3 rational_unit_normal(const Plane& plane) {
    std::optional<Vec3> n = plane.unit_normal();
    if (!n) throw InternalFailure("chamfer: an edge cutter needs rational unit normals");
    return std::move(*n);
}

// The direction w, or its negation, whichever does not lead from p to the front of the plane.
Vec3 away_from_front(const Plane& plane, const Vec3& p, Vec3 w) {
    if (plane.side(add(p, w)) == 1) return neg(w);
    return w;
}

bool is_zero(const Vec3& v) { return v[0].is_zero() && v[1].is_zero() && v[2].is_zero(); }

// The cutter's length E along D. A cutter of length R centred on P reaches s = (R/2)·(D·D)/|D|₁
// in t from P each way; where the edge runs farther than that from P, the length grows so that
// the cutter passes the farther end by s. Otherwise it is R, the same for every edge.
Vec3 length_along_edge(const Edge& edge, const Rational& reach) {
    const Vec3& d = edge.dir;
    const Rational dd = dot(d, d);
    const Rational n1 = norm1(d);
    const Rational tp = dot(edge.point, d);
    const Rational s = (reach / Rational(2)) * dd / n1;
    const Rational far = std::max(tp - edge.t_min, edge.t_max - tp);
    const Rational length = s < far ? reach + Rational(2) * n1 * far / dd : reach;
    return smul(length / n1, d);
}

}  // namespace

std::optional<Solid> edge_cutter(const Edge& edge, const Rational& dist, const Rational& reach) {
    const Vec3 na = rational_unit_normal(edge.plane_a);
    const Vec3 nb = rational_unit_normal(edge.plane_b);
    const Vec3& p = edge.point;
    const Vec3& d = edge.dir;
    const Vec3 w1 = away_from_front(edge.plane_b, p, cross(d, na));
    const Vec3 w2 = away_from_front(edge.plane_a, p, cross(d, nb));
    if (edge.plane_b.side(add(p, w1)) != -1 || edge.plane_a.side(add(p, w2)) != -1) return std::nullopt;

    const Vec3 q1 = add(p, smul(dist, w1));
    const Vec3 q2 = add(p, smul(dist, w2));
    const Vec3 chord = sub(q2, q1);
    if (is_zero(chord)) return std::nullopt;

    const Rational half(1, 2);
    const Vec3 mid = smul(half, add(q1, q2));
    const Vec3 e = length_along_edge(edge, reach);
    const Vec3 c = smul(reach / norm1(chord), chord);
    const Vec3 h = smul(Rational(2), sub(p, mid));
    const Vec3 o = sub(sub(mid, smul(half, e)), smul(half, c));
    const Vec3 c1 = add(o, e);
    const Vec3 c2 = add(c1, c);
    const Vec3 c3 = add(o, c);
    Solid cutter = parallelepiped({o, c1, c2, c3, add(o, h), add(c1, h), add(c2, h), add(c3, h)}, "chamfer");
    if (volume6_sign(cutter) <= 0) cutter = cutter.flipped();
    return cutter;
}

}  // namespace brevant
