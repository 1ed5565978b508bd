#include "exact/vec3.hpp"

namespace brevant {

Vec3 add(const Vec3& a, const Vec3& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
Vec3 sub(const Vec3& a, const Vec3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Vec3 neg(const Vec3& a) { return {-a[0], -a[1], -a[2]}; }
Vec3 smul(const Rational& s, const Vec3& a) { return {s * a[0], s * a[1], s * a[2]}; }
Rational dot(const Vec3& a, const Vec3& b) { return (a[0] * b[0] + a[1] * b[1]) + a[2] * b[2]; }
Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
Rational norm1(const Vec3& a) { return (a[0].abs() + a[1].abs()) + a[2].abs(); }

std::optional<Vec3> solve3(const std::array<Vec3, 3>& rows, const Vec3& r) {
    const Rational det = dot(rows[0], cross(rows[1], rows[2]));
    if (det.is_zero()) return std::nullopt;
    const Vec3 c0{rows[0][0], rows[1][0], rows[2][0]};
    const Vec3 c1{rows[0][1], rows[1][1], rows[2][1]};
    const Vec3 c2{rows[0][2], rows[1][2], rows[2][2]};
    return Vec3{dot(r, cross(c1, c2)) / det, dot(c0, cross(r, c2)) / det, dot(c0, cross(c1, r)) / det};
}

Rational orient2(const Point2& o, const Point2& p, const Point2& q) {
    return (p[0] - o[0]) * (q[1] - o[1]) - (p[1] - o[1]) * (q[0] - o[0]);
}

Rational loop_area2(const std::vector<Point2>& loop) {
    Rational sum;
    const std::size_t n = loop.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Point2& p = loop[i];
        const Point2& q = loop[(i + 1) % n];
        sum += p[0] * q[1] - q[0] * p[1];
    }
    return sum;
}

}  // namespace brevant
