#include "merge/plane_frame.hpp"

#include "exact/interrupt.hpp"

namespace brevant {
namespace {

bool is_zero(const Vec3& v) { return v[0].is_zero() && v[1].is_zero() && v[2].is_zero(); }

}  // namespace

PlaneFrame PlaneFrame::of(const PlaneKey& quadruple) {
    int axis = 0;
    for (int i = 1; i < 3; ++i) {
        if (quadruple[axis].abs() < quadruple[i].abs()) axis = i;
    }
    std::array<Rational, 4> coefficients{Rational(quadruple[0]), Rational(quadruple[1]), Rational(quadruple[2]),
                                         Rational(quadruple[3])};
    Rational inverse = Rational(1) / coefficients[axis];
    return {quadruple, axis, std::move(coefficients), std::move(inverse)};
}

Point2 PlaneFrame::project(const Vec3& p) const { return {p[(axis + 1) % 3], p[(axis + 2) % 3]}; }

Vec3 PlaneFrame::lift(const Point2& q) const {
    const int u = (axis + 1) % 3, v = (axis + 2) % 3;
    Vec3 p;
    p[u] = q[0];
    p[v] = q[1];
    p[axis] = (coefficients[3] - coefficients[u] * q[0] - coefficients[v] * q[1]) * inverse_axis;
    return p;
}

Plane PlaneFrame::oriented(int sign) const {
    const Rational s(static_cast<long>(sign * quadruple[axis].sign()));
    return {{s * coefficients[0], s * coefficients[1], s * coefficients[2]}, s * coefficients[3]};
}

std::optional<Plane> polygon_plane(const Polygon& polygon) {
    if (!is_zero(polygon.plane.normal)) return polygon.plane;
    const std::vector<Vec3>& v = polygon.vertices;
    Vec3 n{Rational(), Rational(), Rational()};
    for (std::size_t i = 1; i + 1 < v.size(); ++i) n = add(n, cross(sub(v[i], v[0]), sub(v[i + 1], v[0])));
    if (!is_zero(n)) return Plane{n, dot(n, v[0])};
    // A loop winding both ways round equal areas: any three points off one line give its plane.
    for (std::size_t i = 1; i < v.size(); ++i) {
        for (std::size_t j = i + 1; j < v.size(); ++j) {
            poll_interrupt();
            Plane p = Plane::from_points(v[0], v[i], v[j]);
            if (!is_zero(p.normal)) return p;
        }
    }
    return std::nullopt;
}

}  // namespace brevant
