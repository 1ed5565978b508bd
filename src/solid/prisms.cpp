#include "solid/prisms.hpp"

#include <algorithm>
#include <optional>

#include "exact/failure.hpp"
#include "solid/cap_triangulation.hpp"
#include "solid/fold_backs.hpp"
#include "solid/loop_crossings.hpp"

namespace brevant {
namespace {

Vec3 at(const Point2& p, const Rational& z) { return {p[0], p[1], z}; }

std::string side_label(const std::string& prefix, std::size_t index) {
    return prefix + ".side" + std::to_string(index);
}

// The points whose edges bound faces, and the index that labels each edge's side: the loop as
// given, or what remains of it without its fold-backs (which keeps the index of the side that
// holds each remaining edge, so that sides keep their labels whatever is dropped around them).
struct Sides {
    std::vector<Point2> points;
    std::vector<std::size_t> labels;
};

// One Sides per loop; with several loops, a point goes only where every loop folds back at it.
std::vector<Sides> regular_sides(const std::vector<const std::vector<Point2>*>& loops) {
    std::vector<Sides> sides(loops.size());
    const std::optional<std::vector<KeptPoint>> kept = without_fold_backs(loops);
    for (std::size_t l = 0; l < loops.size(); ++l) {
        const std::vector<Point2>& loop = *loops[l];
        if (kept) {
            sides[l].points = kept_points(loop, *kept);
            for (const KeptPoint& k : *kept) sides[l].labels.push_back(k.side);
        } else {
            sides[l].points = loop;
            for (std::size_t i = 0; i < loop.size(); ++i) sides[l].labels.push_back(i);
        }
    }
    return sides;
}

// The triangles of a cap over a loop without fold-backs. A refusal names where `given` (the loop
// in the caller's order) crosses itself, when it does.
std::vector<Triangle2> cap(const std::vector<Point2>& points, const std::vector<Point2>& given,
                           const std::string& caller, const std::string& which_loop) {
    std::optional<std::vector<Triangle2>> triangles = triangulate_cap(points);
    if (triangles) return std::move(*triangles);
    std::string message = caller + ": the loop cannot be triangulated";
    const std::string where = where_loop_crosses(given);
    if (!where.empty()) message += ": " + where + which_loop;
    throw Refusal(message);
}

std::vector<Point2> reversed(std::vector<Point2> loop) {
    std::reverse(loop.begin(), loop.end());
    return loop;
}

}  // namespace

Solid make_prism(std::vector<Point2> loop, const Rational& h, const std::string& prefix) {
    const bool turned = loop_area2(loop).sign() < 0;
    if (turned) std::reverse(loop.begin(), loop.end());
    const Sides sides = std::move(regular_sides({&loop}).front());
    const std::vector<Triangle2> triangles = cap(sides.points, turned ? reversed(loop) : loop, "make_prism", "");
    const Rational zero;
    std::vector<Polygon> polygons;
    polygons.reserve(2 * triangles.size() + sides.points.size());
    for (const auto& [a, b, c] : triangles) {
        polygons.push_back(Polygon::make({at(a, zero), at(c, zero), at(b, zero)}, prefix + ".bottom"));
        polygons.push_back(Polygon::make({at(a, h), at(b, h), at(c, h)}, prefix + ".top"));
    }
    const std::size_t n = sides.points.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Point2& p = sides.points[i];
        const Point2& q = sides.points[(i + 1) % n];
        polygons.push_back(
            Polygon::make({at(p, zero), at(q, zero), at(q, h), at(p, h)}, side_label(prefix, sides.labels[i])));
    }
    return Solid::make(std::move(polygons));
}

Solid make_prismatoid(std::vector<Point2> bottom, const Rational& z0, std::vector<Point2> top, const Rational& z1,
                      const std::string& prefix) {
    // Only the bottom decides the orientation; the top turns with it so that B[i] still faces T[i].
    const bool turned = loop_area2(bottom).sign() < 0;
    if (turned) {
        std::reverse(bottom.begin(), bottom.end());
        std::reverse(top.begin(), top.end());
    }
    const std::vector<Triangle2> bottom_cap = cap(regular_sides({&bottom}).front().points,
                                                  turned ? reversed(bottom) : bottom, "make_prismatoid", " in the bottom loop");
    const std::vector<Triangle2> top_cap = cap(regular_sides({&top}).front().points, turned ? reversed(top) : top,
                                               "make_prismatoid", " in the top loop");
    if (top.size() < bottom.size()) {
        throw InternalFailure("index out of range: make_prismatoid needs a top point for every bottom point");
    }
    // A side face goes only where both loops fold back at the same points; elsewhere it is real.
    top.resize(bottom.size());
    const std::vector<Sides> sides = regular_sides({&bottom, &top});
    const Sides& lower = sides[0];
    const Sides& upper = sides[1];
    std::vector<Polygon> polygons;
    polygons.reserve(bottom_cap.size() + top_cap.size() + 2 * lower.points.size());
    for (const auto& [a, b, c] : bottom_cap) {
        polygons.push_back(Polygon::make({at(a, z0), at(c, z0), at(b, z0)}, prefix + ".bottom"));
    }
    for (const auto& [a, b, c] : top_cap) {
        polygons.push_back(Polygon::make({at(a, z1), at(b, z1), at(c, z1)}, prefix + ".top"));
    }
    const std::size_t n = lower.points.size();
    for (std::size_t j = 0; j < n; ++j) {
        const std::size_t k = (j + 1) % n;
        const std::string label = side_label(prefix, lower.labels[j]);
        const std::vector<Point2>& b = lower.points;
        const std::vector<Point2>& t = upper.points;
        polygons.push_back(Polygon::make({at(b[j], z0), at(b[k], z0), at(t[k], z1)}, label));
        polygons.push_back(Polygon::make({at(b[j], z0), at(t[k], z1), at(t[j], z1)}, label));
    }
    return Solid::make(std::move(polygons));
}

}  // namespace brevant
