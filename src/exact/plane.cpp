#include "exact/plane.hpp"

#include "exact/dot_sign.hpp"
#include "exact/failure.hpp"
#include "exact/integer_form.hpp"

namespace brevant {

Plane Plane::from_points(const Vec3& a, const Vec3& b, const Vec3& c) {
    Vec3 normal = cross(sub(b, a), sub(c, a));
    Rational offset = dot(normal, a);
    return {std::move(normal), std::move(offset)};
}

int Plane::side(const Vec3& p) const { return dot_minus_sign(normal, p, offset); }

PlaneKey Plane::canonical() const {
    return primitive_integer_form<4>({&normal[0], &normal[1], &normal[2], &offset});
}

PlaneKey Plane::coplanar_key() const {
    PlaneKey q = canonical();
    PlaneKey negated{-q[0], -q[1], -q[2], -q[3]};
    return negated < q ? negated : q;
}

std::optional<Vec3> Plane::unit_normal() const {
    const PlaneKey q = canonical();
    const BigInt s = (q[0] * q[0] + q[1] * q[1]) + q[2] * q[2];
    const BigInt r = isqrt(s);
    if (!(r * r == s)) return std::nullopt;
    if (r.sign() == 0) throw InternalFailure("division by zero");
    return Vec3{Rational(q[0], r), Rational(q[1], r), Rational(q[2], r)};
}

Plane Plane::flipped() const { return {neg(normal), -offset}; }

}  // namespace brevant
