#include "chamfer/convex_piece.hpp"

#include <algorithm>
#include <set>

#include "boolean/split.hpp"
#include "exact/failure.hpp"
#include "solid/measures.hpp"

namespace brevant {
namespace {

constexpr int kBoxFace = -1;

struct Face {
    Polygon polygon;
    int halfspace;  // the index of the half-space whose plane it lies in, kBoxFace for the box's
};

std::vector<Face> box_faces(const Vec3& lo, const Vec3& hi) {
    std::array<Vec3, 8> c;
    for (std::size_t i = 0; i < 8; ++i) {
        const bool x = i == 1 || i == 2 || i == 5 || i == 6;
        const bool y = i == 2 || i == 3 || i == 6 || i == 7;
        const bool z = i >= 4;
        c[i] = {x ? hi[0] : lo[0], y ? hi[1] : lo[1], z ? hi[2] : lo[2]};
    }
    const std::array<std::array<std::size_t, 4>, 6> loops{{{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4},
                                                          {2, 3, 7, 6}, {1, 2, 6, 5}, {3, 0, 4, 7}}};
    std::vector<Face> faces;
    for (const auto& loop : loops) {
        faces.push_back({Polygon::make({c[loop[0]], c[loop[1]], c[loop[2]], c[loop[3]]}, "chamfer.box"), kBoxFace});
    }
    return faces;
}

// The 2D coordinates of p seen along axis k, in an order that keeps loops counter-clockwise when
// viewed from +k.
std::array<Rational, 2> seen_along(const Vec3& p, std::size_t k) { return {p[(k + 1) % 3], p[(k + 2) % 3]}; }

Rational cross2(const std::array<Rational, 2>& a, const std::array<Rational, 2>& b) {
    return a[0] * b[1] - a[1] * b[0];
}

std::size_t dominant_axis(const Vec3& n) {
    std::size_t k = 0;
    for (std::size_t i = 1; i < 3; ++i) {
        if (n[i].abs() > n[k].abs()) k = i;
    }
    return k;
}

// The points (corners of a convex polygon in the plane, maybe with points along its sides) as a
// loop counter-clockwise seen from the plane's front, without the points along sides.
std::vector<Vec3> convex_loop(const std::set<Vec3>& points, const Plane& plane) {
    const std::size_t k = dominant_axis(plane.normal);
    std::array<Rational, 2> centre{Rational(), Rational()};
    for (const Vec3& p : points) {
        const auto q = seen_along(p, k);
        centre[0] += q[0];
        centre[1] += q[1];
    }
    const Rational count(static_cast<long>(points.size()));
    centre = {centre[0] / count, centre[1] / count};
    struct Around {
        Vec3 point;
        std::array<Rational, 2> offset;
        int half;
    };
    std::vector<Around> around;
    for (const Vec3& p : points) {
        const auto q = seen_along(p, k);
        std::array<Rational, 2> v{q[0] - centre[0], q[1] - centre[1]};
        const int half = (v[1].sign() > 0 || (v[1].is_zero() && v[0].sign() > 0)) ? 0 : 1;
        around.push_back({p, std::move(v), half});
    }
    std::sort(around.begin(), around.end(), [](const Around& a, const Around& b) {
        if (a.half != b.half) return a.half < b.half;
        return cross2(a.offset, b.offset).sign() > 0;
    });
    if (plane.normal[k].sign() < 0) std::reverse(around.begin(), around.end());

    std::vector<Vec3> loop;
    const std::size_t n = around.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto& prev = around[(i + n - 1) % n].offset;
        const auto& here = around[i].offset;
        const auto& next = around[(i + 1) % n].offset;
        const std::array<Rational, 2> in{here[0] - prev[0], here[1] - prev[1]};
        const std::array<Rational, 2> out{next[0] - here[0], next[1] - here[1]};
        if (!cross2(in, out).is_zero()) loop.push_back(around[i].point);
    }
    return loop;
}

// Cuts the faces by one half-space and closes the cut with a face in its plane.
std::vector<Face> clip(std::vector<Face> faces, const Halfspace& h, int index) {
    const PlaneF64 fast = plane_f64(h.plane);
    std::vector<Face> kept;
    std::set<Vec3> on_plane;
    for (Face& face : faces) {
        Split parts = split(h.plane, fast, std::move(face.polygon));
        for (Polygon& piece : parts.back) {
            for (const Vec3& v : piece.vertices) {
                if (h.plane.side(v) == 0) on_plane.insert(v);
            }
            kept.push_back({std::move(piece), face.halfspace});
        }
    }
    if (on_plane.size() >= 3) {
        std::vector<Vec3> loop = convex_loop(on_plane, h.plane);
        if (loop.size() >= 3) kept.push_back({Polygon::make(std::move(loop), h.label), index});
    }
    return kept;
}

}  // namespace

std::optional<ConvexPiece> clip_bounding_box(const std::vector<Vec3>& hull, const std::vector<Halfspace>& halfspaces) {
    Vec3 lo = hull.at(0), hi = hull.at(0);
    for (const Vec3& p : hull) {
        for (std::size_t i = 0; i < 3; ++i) {
            if (p[i] < lo[i]) lo[i] = p[i];
            if (p[i] > hi[i]) hi[i] = p[i];
        }
    }
    for (std::size_t i = 0; i < 3; ++i) {
        if (!(lo[i] < hi[i])) return std::nullopt;
    }
    std::vector<Face> faces = box_faces(lo, hi);
    for (std::size_t i = 0; i < halfspaces.size() && !faces.empty(); ++i) {
        faces = clip(std::move(faces), halfspaces[i], static_cast<int>(i));
    }
    ConvexPiece piece;
    std::vector<Polygon> polygons;
    for (Face& face : faces) {
        if (face.polygon.is_degenerate()) continue;
        if (face.halfspace == kBoxFace) throw InternalFailure("chamfer: a piece reaches past its bounding box");
        const Halfspace& h = halfspaces[static_cast<std::size_t>(face.halfspace)];
        if (h.contact) piece.contacts.push_back({*h.contact, face.polygon});
        polygons.push_back(std::move(face.polygon));
    }
    piece.solid = Solid::make(std::move(polygons));
    if (volume6_sign(piece.solid) <= 0) return std::nullopt;
    return piece;
}

}  // namespace brevant
