#include "merge/plane_frame.hpp"

#include "exact/interrupt.hpp"

namespace brevant {
namespace {

bool is_zero(const Vec3& v) { return v[0].is_zero() && v[1].is_zero() && v[2].is_zero(); }

}  // namespace

std::size_t PlaneKey4Hash::operator()(const PlaneKey4& k) const {
    return ((k[0].hash() * 31 + k[1].hash()) * 31 + k[2].hash()) * 31 + k[3].hash();
}

PlaneFrame PlaneFrame::of(const Plane& plane) {
    const Vec3& n = plane.normal;
    const int first = !n[0].is_zero() ? 0 : (!n[1].is_zero() ? 1 : 2);
    const Rational scale = Rational(1) / n[first];
    PlaneKey4 key{n[0] * scale, n[1] * scale, n[2] * scale, plane.offset * scale};
    int axis = 0;
    for (int i = 1; i < 3; ++i) {
        if (key[axis].abs() < key[i].abs()) axis = i;
    }
    Rational inverse = Rational(1) / key[axis];
    return {std::move(key), axis, std::move(inverse)};
}

Point2 PlaneFrame::project(const Vec3& p) const { return {p[(axis + 1) % 3], p[(axis + 2) % 3]}; }

Vec3 PlaneFrame::lift(const Point2& q) const {
    const int u = (axis + 1) % 3, v = (axis + 2) % 3;
    Vec3 p;
    p[u] = q[0];
    p[v] = q[1];
    // A plane across an axis (key 1 there and 0 elsewhere) is where that coordinate is key[3].
    if (key[u].is_zero() && key[v].is_zero()) {
        p[axis] = key[3] * inverse_axis;
    } else {
        p[axis] = (key[3] - key[u] * q[0] - key[v] * q[1]) * inverse_axis;
    }
    return p;
}

Plane PlaneFrame::oriented(int sign) const {
    const Rational s(static_cast<long>(sign * key[axis].sign()));
    return {{s * key[0], s * key[1], s * key[2]}, s * key[3]};
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
