#include "boolean/split.hpp"

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>

namespace brevant {
namespace {

constexpr int kFront = 1;
constexpr int kBack = 2;
constexpr int kCoplanar = 0;
constexpr int kSpanning = kFront | kBack;

// The point where the edge vi -> vj crosses the plane; vi and vj lie strictly on opposite sides,
// so the denominator is not zero.
Vec3 crossing_point(const Plane& plane, const Vec3& vi, const Vec3& vj) {
    const Vec3 edge = sub(vj, vi);
    const Rational t = (plane.offset - dot(plane.normal, vi)) / dot(plane.normal, edge);
    return add(vi, smul(t, edge));
}

// One side's loop of a cut polygon, with its shadows: a source vertex keeps the shadow it has.
struct Piece {
    std::vector<Vec3> vertices;
    std::vector<FloatVertex> floats;

    void add(Vec3&& v, const FloatVertex& f) {
        vertices.push_back(std::move(v));
        floats.push_back(f);
    }
    bool kept() const { return vertices.size() >= 3 && Polygon::has_area(vertices, floats); }
};

// The pieces lie in the source's plane, so they keep that plane exactly. The source is spent: its
// vertices move into the piece on their side (vertex 0 is copied, as the last edge still needs
// it), and its label and plane into the back piece.
void cut_spanning(const Plane& plane, std::span<const std::int32_t> sides, Polygon&& polygon, const SplitTargets& to) {
    std::vector<Vec3>& v = polygon.vertices;
    const std::vector<FloatVertex>& f = polygon.float_vertices;
    const std::size_t n = v.size();
    Piece front, back;
    for (Piece* piece : {&front, &back}) {
        piece->vertices.reserve(n + 2);
        piece->floats.reserve(n + 2);
    }
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        const std::int32_t ti = sides[i];
        const std::int32_t tj = sides[j];
        std::optional<Vec3> crossing;
        if (ti * tj < 0) crossing = crossing_point(plane, v[i], v[j]);
        if (ti == 0) {
            front.add(Vec3(v[i]), f[i]);
            back.add(i == 0 ? Vec3(v[i]) : std::move(v[i]), f[i]);
        } else {
            (ti > 0 ? front : back).add(i == 0 ? Vec3(v[i]) : std::move(v[i]), f[i]);
        }
        if (crossing) {
            const FloatVertex shadow = to_float_vertex(*crossing);
            front.add(Vec3(*crossing), shadow);
            back.add(std::move(*crossing), shadow);
        }
    }
    if (front.kept()) {
        to.front.push_back({std::move(front.vertices), std::move(front.floats), polygon.label, polygon.plane});
    }
    if (back.kept()) {
        to.back.push_back(
            {std::move(back.vertices), std::move(back.floats), std::move(polygon.label), std::move(polygon.plane)});
    }
}

}  // namespace

void split_into(const Plane& plane, const PlaneF64& fast, Polygon&& polygon, const SplitTargets& to) {
    const std::size_t n = polygon.vertices.size();
    // Loops are short as a rule, and this is the innermost step of every tree walk: their sides
    // are kept on the stack, only longer loops take them to the heap.
    std::array<std::int32_t, 16> short_sides;
    std::vector<std::int32_t> long_sides(n > short_sides.size() ? n : 0);
    const std::span<std::int32_t> sides = n > short_sides.size() ? std::span<std::int32_t>(long_sides)
                                                                  : std::span<std::int32_t>(short_sides.data(), n);
    int polygon_class = kCoplanar;
    for (std::size_t i = 0; i < n; ++i) {
        sides[i] = vertex_side(plane, fast, polygon.float_vertices.at(i), polygon.vertices[i]);
        if (sides[i] > 0) polygon_class |= kFront;
        if (sides[i] < 0) polygon_class |= kBack;
    }

    switch (polygon_class) {
        case kCoplanar:
            if (dot(plane.normal, polygon.plane.normal).sign() > 0) {
                to.coplanar_front.push_back(std::move(polygon));
            } else {
                to.coplanar_back.push_back(std::move(polygon));
            }
            break;
        case kFront:
            to.front.push_back(std::move(polygon));
            break;
        case kBack:
            to.back.push_back(std::move(polygon));
            break;
        case kSpanning:
            cut_spanning(plane, sides, std::move(polygon), to);
            break;
    }
}

Split split(const Plane& plane, const PlaneF64& fast, Polygon polygon) {
    Split out;
    split_into(plane, fast, std::move(polygon), {out.coplanar_front, out.coplanar_back, out.front, out.back});
    return out;
}

}  // namespace brevant
