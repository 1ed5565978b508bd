#include "chamfer/corner_cutter.hpp"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <string>

#include "exact/direction.hpp"
#include "solid/measures.hpp"

namespace brevant {
namespace {

struct EdgeEnd {
    Vec3 into_edge;
    Plane plane_a;
    Plane plane_b;
};

using Ends = std::array<const EdgeEnd*, 3>;
using Bevels = std::array<Vec3, 3>;  // s_i

// Edge ends grouped by the point they end at, keyed by point text.
std::map<std::string, std::vector<EdgeEnd>> ends_by_point(const std::vector<Edge>& edges) {
    std::map<std::string, std::vector<EdgeEnd>> ends;
    for (const Edge& e : edges) {
        ends[point_text(point_at(e, e.t_min))].push_back({e.dir, e.plane_a, e.plane_b});
        ends[point_text(point_at(e, e.t_max))].push_back({neg(e.dir), e.plane_a, e.plane_b});
    }
    return ends;
}

// The coplanar keys of plane_a and plane_b of each end, computed once for the corner.
using EndKeys = std::array<std::array<PlaneKey, 2>, 3>;

EndKeys end_keys(const Ends& ends) {
    EndKeys keys;
    for (std::size_t k = 0; k < 3; ++k) keys[k] = {ends[k]->plane_a.coplanar_key(), ends[k]->plane_b.coplanar_key()};
    return keys;
}

// The planes of the three ends, distinct as point sets, in order of appearance.
std::vector<const Plane*> distinct_planes(const Ends& ends, const EndKeys& end_keys) {
    std::vector<const Plane*> planes;
    std::vector<const PlaneKey*> keys;
    for (std::size_t k = 0; k < 3; ++k) {
        const std::array<const Plane*, 2> pair{&ends[k]->plane_a, &ends[k]->plane_b};
        for (std::size_t side = 0; side < 2; ++side) {
            const PlaneKey& key = end_keys[k][side];
            if (std::any_of(keys.begin(), keys.end(), [&](const PlaneKey* seen) { return *seen == key; })) continue;
            keys.push_back(&key);
            planes.push_back(pair[side]);
        }
    }
    return planes;
}

std::optional<Vec3> meet(const std::array<const Plane*, 3>& planes) {
    return solve3({planes[0]->normal, planes[1]->normal, planes[2]->normal},
                  {planes[0]->offset, planes[1]->offset, planes[2]->offset});
}

// The face plane of end pv shared with end nx: the face that does not hold the third edge.
const Plane* shared_face(const EdgeEnd& pv, const std::array<PlaneKey, 2>& pv_keys,
                         const std::array<PlaneKey, 2>& nx_keys) {
    const std::array<const Plane*, 2> planes{&pv.plane_a, &pv.plane_b};
    for (std::size_t side = 0; side < 2; ++side) {
        if (std::find(nx_keys.begin(), nx_keys.end(), pv_keys[side]) != nx_keys.end()) return planes[side];
    }
    return nullptr;
}

std::optional<Solid> tetrahedron(const Ends& ends, const Rational& dist) {
    std::array<Vec3, 3> u;
    for (std::size_t k = 0; k < 3; ++k) {
        std::optional<Vec3> unit = unit_dir(ends[k]->into_edge);
        if (!unit) return std::nullopt;
        u[k] = std::move(*unit);
    }
    const EndKeys keys = end_keys(ends);
    const std::vector<const Plane*> faces = distinct_planes(ends, keys);
    if (faces.size() != 3) return std::nullopt;
    const std::optional<Vec3> x = meet({faces[0], faces[1], faces[2]});
    if (!x) return std::nullopt;

    Bevels s;
    Vec3 r;
    for (std::size_t i = 0; i < 3; ++i) {
        s[i] = add(u[(i + 1) % 3], u[(i + 2) % 3]);
        r[i] = dot(s[i], add(*x, smul(dist, u[(i + 1) % 3])));
    }
    const std::optional<Vec3> apex = solve3(s, r);
    if (!apex) return std::nullopt;

    std::array<Vec3, 3> z;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t nx = (i + 1) % 3;
        const std::size_t pv = (i + 2) % 3;
        const Plane* face = shared_face(*ends[pv], keys[pv], keys[nx]);
        if (!face) return std::nullopt;
        std::optional<Vec3> zi = solve3({face->normal, s[nx], s[pv]}, {face->offset, r[nx], r[pv]});
        if (!zi) return std::nullopt;
        z[i] = std::move(*zi);
    }

    Solid cutter = Solid::make({
        Polygon::make({z[0], z[1], z[2]}, "corner.a"),
        Polygon::make({z[0], z[2], *apex}, "corner.b"),
        Polygon::make({z[0], *apex, z[1]}, "corner.c"),
        Polygon::make({z[1], *apex, z[2]}, "corner.d"),
    });
    if (volume6_sign(cutter) <= 0) cutter = cutter.flipped();
    if (volume6_sign(cutter) == 0) return std::nullopt;
    return cutter;
}

}  // namespace

std::vector<Solid> corner_cutters(const std::vector<Edge>& edges, const Rational& dist) {
    std::vector<Solid> cutters;
    for (const auto& [key, ends] : ends_by_point(edges)) {
        if (ends.size() != 3) continue;
        if (std::optional<Solid> cutter = tetrahedron({&ends[0], &ends[1], &ends[2]}, dist)) {
            cutters.push_back(std::move(*cutter));
        }
    }
    return cutters;
}

}  // namespace brevant
