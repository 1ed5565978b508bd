#include "solid/polygon.hpp"

#include <algorithm>
#include <cmath>

#include "exact/failure.hpp"

namespace brevant {

FloatVertex to_float_vertex(const Vec3& v) { return {v[0].to_double(), v[1].to_double(), v[2].to_double()}; }

std::vector<FloatVertex> to_float_vertices(const std::vector<Vec3>& vertices) {
    std::vector<FloatVertex> result;
    result.reserve(vertices.size());
    for (const Vec3& v : vertices) result.push_back(to_float_vertex(v));
    return result;
}

Polygon Polygon::make(std::vector<Vec3> vertices, std::string label) {
    if (vertices.size() < 3) throw InternalFailure("index out of range: a polygon needs three vertices");
    Plane plane = Plane::from_points(vertices[0], vertices[1], vertices[2]);
    std::vector<FloatVertex> floats = to_float_vertices(vertices);
    return {std::move(vertices), std::move(floats), std::move(label), std::move(plane)};
}

Vec3 Polygon::fan_normal(const std::vector<Vec3>& vertices) {
    if (vertices.empty()) throw InternalFailure("index out of range: empty polygon");
    Vec3 n{Rational(), Rational(), Rational()};
    for (std::size_t i = 1; i + 1 < vertices.size(); ++i) {
        n = add(n, cross(sub(vertices[i], vertices[0]), sub(vertices[i + 1], vertices[0])));
    }
    return n;
}

Rational Polygon::area2(const std::vector<Vec3>& vertices) {
    const Vec3 n = fan_normal(vertices);
    return dot(n, n);
}

namespace {

// The fan sum N in doubles and s = |Nx| + |Ny| + |Nz|.
double float_area_measure(const std::vector<FloatVertex>& f) {
    double nx = 0.0, ny = 0.0, nz = 0.0;
    for (std::size_t i = 1; i + 1 < f.size(); ++i) {
        const double d1x = f[i][0] - f[0][0], d1y = f[i][1] - f[0][1], d1z = f[i][2] - f[0][2];
        const double d2x = f[i + 1][0] - f[0][0], d2y = f[i + 1][1] - f[0][1], d2z = f[i + 1][2] - f[0][2];
        nx = nx + (d1y * d2z - d1z * d2y);
        ny = ny + (d1z * d2x - d1x * d2z);
        nz = nz + (d1x * d2y - d1y * d2x);
    }
    return std::fabs(nx) + std::fabs(ny) + std::fabs(nz);
}

// The double test accepts only when s exceeds its own rounding error, so that s > bound proves
// that the exact N is not zero. Let C be the largest |float coordinate|, u = 2^-53, k = n − 2.
// Each float coordinate is within C·u of the exact one, so a difference d = fl(Fi − F0) is within
// 4C·u of the exact difference and |d| <= 2C(1 + u). A product of two differences is then within
// 2C·4Cu + 2C·4Cu + 4C²u = 20C²u of the exact product, and a cross component (two products, one
// subtraction, |component| <= 8C²) within 2·20C²u + 8C²u = 48C²u. Each addition of the fan sum
// rounds by at most u times the running sum, which is twice the projected area of the sub-loop
// P0 … P(i+1). A false accept needs an exact N of zero, and then s (three absolute values, whose
// two additions round relative to s itself) is at most the three components' errors.
// - When every sub-loop winds at most once round any point (convex and collinear loops among
//   others), a running sum is at most 8C², a component of N is within 56k·C²u and s is at most
//   168k·C²u < k·C²·2^-45 (2^-45 = 256u).
// - Otherwise a running sum is only bounded by 8i·C², a component by (52k + 4k²)·C²u, and the bound
//   still holds up to k = 8; past that, a zero-area loop winding to and fro over hundreds of
//   vertices, with rounding errors all of one sign, could pass the double test.
// If C² overflows the bound is meaningless and the exact test decides.
bool float_test_proves_area(const std::vector<FloatVertex>& f, double s) {
    if (!(s > 1e-7) || !std::isfinite(s)) return false;
    double c = 0.0;
    for (const FloatVertex& v : f) {
        for (double x : v) c = std::max(c, std::fabs(x));
    }
    const double c2 = c * c;
    if (!std::isfinite(c2)) return false;
    const double bound = (static_cast<double>(f.size() - 2) * c2) * std::ldexp(1.0, -45);
    return s > bound;
}

}  // namespace

bool Polygon::has_area(const std::vector<Vec3>& vertices, const std::vector<FloatVertex>& floats) {
    constexpr std::size_t kMostVerticesProvenForAnyLoop = 10;  // k = n − 2 <= 8 above
    if (vertices.size() > 2 && vertices.size() <= kMostVerticesProvenForAnyLoop && floats.size() == vertices.size() &&
        float_test_proves_area(floats, float_area_measure(floats))) {
        return true;
    }
    return !area2(vertices).is_zero();
}

bool Polygon::is_degenerate() const {
    if (vertices.size() > 2 && float_test_proves_area(float_vertices, float_area_measure(float_vertices))) {
        return false;
    }
    return area2(vertices).is_zero();
}

Polygon Polygon::flipped() const {
    return {std::vector<Vec3>(vertices.rbegin(), vertices.rend()),
            std::vector<FloatVertex>(float_vertices.rbegin(), float_vertices.rend()), label, plane.flipped()};
}

void Polygon::flip() {
    std::reverse(vertices.begin(), vertices.end());
    std::reverse(float_vertices.begin(), float_vertices.end());
    plane = plane.flipped();
}

}  // namespace brevant
