#include "chamfer/convex_piece.hpp"

#include <algorithm>

#include "boolean/split.hpp"
#include "exact/failure.hpp"
#include "solid/measures.hpp"

namespace brevant {
namespace {

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
std::vector<Vec3> convex_loop(const std::vector<Vec3>& points, const Plane& plane) {
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
std::vector<PieceFace> cut(std::vector<PieceFace> faces, const Halfspace& h) {
    const PlaneF64 fast = plane_f64(h.plane);
    std::vector<PieceFace> kept;
    std::vector<Vec3> on_plane;  // each point once: a piece has a few
    for (PieceFace& face : faces) {
        Split parts = split(h.plane, fast, std::move(face.polygon));
        for (Polygon& piece : parts.back) {
            for (std::size_t i = 0; i < piece.vertices.size(); ++i) {
                const Vec3& v = piece.vertices[i];
                if (vertex_side(h.plane, fast, piece.float_vertices[i], v) == 0 &&
                    std::find(on_plane.begin(), on_plane.end(), v) == on_plane.end()) {
                    on_plane.push_back(v);
                }
            }
            kept.push_back({std::move(piece), face.tag});
        }
    }
    if (on_plane.size() >= 3) {
        std::vector<Vec3> loop = convex_loop(on_plane, h.plane);
        if (loop.size() >= 3) kept.push_back({Polygon::make(std::move(loop), h.tag.label), h.tag});
    }
    return kept;
}

}  // namespace

PieceFace outward_face(std::vector<Vec3> loop, const Vec3& inside, FaceTag tag) {
    Polygon polygon = Polygon::make(std::move(loop), tag.label);
    if (polygon.plane.side(inside) > 0) polygon.flip();
    return {std::move(polygon), std::move(tag)};
}

std::vector<PieceFace> tetrahedron(const std::array<Vec3, 4>& c, std::array<FaceTag, 4> tags) {
    std::vector<PieceFace> faces;
    for (std::size_t i = 0; i < 4; ++i) {
        faces.push_back(outward_face({c[(i + 1) % 4], c[(i + 2) % 4], c[(i + 3) % 4]}, c[i], std::move(tags[i])));
    }
    return faces;
}

ConvexPiece piece_of(std::vector<PieceFace> faces) {
    ConvexPiece piece;
    std::vector<Polygon> polygons;
    for (PieceFace& face : faces) {
        if (face.polygon.is_degenerate()) continue;
        if (face.tag.role == FaceRole::kProvisional) throw InternalFailure("chamfer: a piece reaches past its seed");
        if (face.tag.role == FaceRole::kContact) piece.contacts.push_back({face.tag.face, face.polygon});
        if (face.tag.role == FaceRole::kStop) piece.stops.push_back({face.tag.face, face.polygon});
        piece.roles.push_back(face.tag.role);
        polygons.push_back(std::move(face.polygon));
    }
    piece.solid = Solid::make(std::move(polygons));
    return piece;
}

std::optional<ConvexPiece> cut_seed(std::vector<PieceFace> seed, const std::vector<Halfspace>& cuts) {
    for (const Halfspace& h : cuts) {
        if (seed.empty()) break;
        seed = cut(std::move(seed), h);
    }
    ConvexPiece piece = piece_of(std::move(seed));
    if (volume6_sign(piece.solid) <= 0) return std::nullopt;
    return piece;
}

}  // namespace brevant
