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

namespace {

// The one nonzero column of a row, or -1.
int lone_column(const Vec3& row) {
    int column = -1;
    for (int k = 0; k < 3; ++k) {
        if (row[k].is_zero()) continue;
        if (column >= 0) return -1;
        column = k;
    }
    return column;
}

// Row i names x_k alone (an axis plane): x_k = r_i / a_ik, and the other two rows, less their
// x_k terms, leave a 2×2 system in the other two unknowns. Expanding the determinant along row i
// gives ±a_ik times the 2×2 one, so both are zero together.
std::optional<Vec3> solve_with_lone(const std::array<Vec3, 3>& rows, const Vec3& r, int i, int k) {
    Vec3 x;
    x[k] = r[i] / rows[i][k];
    const int j1 = (i + 1) % 3, j2 = (i + 2) % 3, u = (k + 1) % 3, v = (k + 2) % 3;
    const Rational b1 = r[j1] - rows[j1][k] * x[k], b2 = r[j2] - rows[j2][k] * x[k];
    const Rational det = rows[j1][u] * rows[j2][v] - rows[j1][v] * rows[j2][u];
    if (det.is_zero()) return std::nullopt;
    x[u] = (b1 * rows[j2][v] - rows[j1][v] * b2) / det;
    x[v] = (rows[j1][u] * b2 - b1 * rows[j2][u]) / det;
    return x;
}

}  // namespace

std::optional<Vec3> solve3(const std::array<Vec3, 3>& rows, const Vec3& r) {
    for (int i = 0; i < 3; ++i) {
        if (const int k = lone_column(rows[i]); k >= 0) return solve_with_lone(rows, r, i, k);
    }
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
