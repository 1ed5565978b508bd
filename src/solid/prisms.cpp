#include "solid/prisms.hpp"

#include <algorithm>

#include "exact/failure.hpp"
#include "solid/cap_triangulation.hpp"

namespace brevant {
namespace {

Vec3 at(const Point2& p, const Rational& z) { return {p[0], p[1], z}; }

std::string side_label(const std::string& prefix, std::size_t index) {
    return prefix + ".side" + std::to_string(index);
}

}  // namespace

Solid make_prism(std::vector<Point2> loop, const Rational& h, const std::string& prefix) {
    if (loop_area2(loop).sign() < 0) std::reverse(loop.begin(), loop.end());
    const std::vector<Triangle2> triangles = triangulate_cap(loop, "make_prism");
    const Rational zero;
    std::vector<Polygon> polygons;
    polygons.reserve(2 * triangles.size() + loop.size());
    for (const auto& [a, b, c] : triangles) {
        polygons.push_back(Polygon::make({at(a, zero), at(c, zero), at(b, zero)}, prefix + ".bottom"));
        polygons.push_back(Polygon::make({at(a, h), at(b, h), at(c, h)}, prefix + ".top"));
    }
    const std::size_t n = loop.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Point2& p = loop[i];
        const Point2& q = loop[(i + 1) % n];
        polygons.push_back(Polygon::make({at(p, zero), at(q, zero), at(q, h), at(p, h)}, side_label(prefix, i)));
    }
    return Solid::make(std::move(polygons));
}

Solid make_prismatoid(std::vector<Point2> bottom, const Rational& z0, std::vector<Point2> top, const Rational& z1,
                      const std::string& prefix) {
    // Only the bottom decides the orientation; the top turns with it so that B[i] still faces T[i].
    if (loop_area2(bottom).sign() < 0) {
        std::reverse(bottom.begin(), bottom.end());
        std::reverse(top.begin(), top.end());
    }
    const std::vector<Triangle2> bottom_cap = triangulate_cap(bottom, "make_prismatoid");
    const std::vector<Triangle2> top_cap = triangulate_cap(top, "make_prismatoid");
    if (top.size() < bottom.size()) {
        throw InternalFailure("index out of range: make_prismatoid needs a top point for every bottom point");
    }
    std::vector<Polygon> polygons;
    polygons.reserve(bottom_cap.size() + top_cap.size() + 2 * bottom.size());
    for (const auto& [a, b, c] : bottom_cap) {
        polygons.push_back(Polygon::make({at(a, z0), at(c, z0), at(b, z0)}, prefix + ".bottom"));
    }
    for (const auto& [a, b, c] : top_cap) {
        polygons.push_back(Polygon::make({at(a, z1), at(b, z1), at(c, z1)}, prefix + ".top"));
    }
    const std::size_t n = bottom.size();
    for (std::size_t j = 0; j < n; ++j) {
        const std::size_t k = (j + 1) % n;
        polygons.push_back(Polygon::make({at(bottom[j], z0), at(bottom[k], z0), at(top[k], z1)}, side_label(prefix, j)));
        polygons.push_back(Polygon::make({at(bottom[j], z0), at(top[k], z1), at(top[j], z1)}, side_label(prefix, j)));
    }
    return Solid::make(std::move(polygons));
}

}  // namespace brevant
