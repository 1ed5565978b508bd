#include "chamfer/chamfer.hpp"

#include <set>

#include "boolean/boolean.hpp"
#include "chamfer/convexity.hpp"
#include "chamfer/corner_cutter.hpp"
#include "chamfer/edge_cutter.hpp"
#include "chamfer/local_chamfer.hpp"
#include "chamfer/refusals.hpp"
#include "exact/interrupt.hpp"
#include "solid/measures.hpp"

namespace brevant {
namespace {

std::set<PlaneKey> face_planes(const Solid& solid) {
    std::set<PlaneKey> planes;
    for (const Polygon& p : solid.polygons) planes.insert(p.plane.canonical());
    return planes;
}

// Bevels that meet across a face, or corners cut past each other, leave a solid turned inside out
// or without one of the original faces.
void refuse_if_overcut(const Solid& input, const Solid& result) {
    const bool inverted = volume6_sign(input) > 0 && volume6_sign(result) <= 0;
    const std::set<PlaneKey> kept = face_planes(result);
    bool lost_face = false;
    for (const PlaneKey& plane : face_planes(input)) lost_face = lost_face || !kept.contains(plane);
    if (inverted || lost_face) refuse_too_large();
}

bool every_face_has_a_rational_unit_normal(const Solid& solid) {
    for (const Polygon& p : solid.polygons) {
        poll_interrupt();  // every polygon
        const Vec3& n = p.plane.normal;
        if ((n[0].is_zero() && n[1].is_zero() && n[2].is_zero()) || !p.plane.unit_normal()) return false;
    }
    return true;
}

// A convex solid, all at once: each edge cutter reaches across the whole solid, which only a
// convex solid allows.
Solid chamfer_convex(const Solid& solid, const Rational& dist) {
    const std::vector<Edge> edges = select_edges(logical_edges(solid));
    const Rational r = reach(solid);
    Solid current = solid;
    for (const Edge& edge : edges) {
        poll_interrupt();
        if (std::optional<Solid> cutter = edge_cutter(edge, dist, r)) {
            current = boolean_impl("cut", std::move(current), std::move(*cutter));
        }
    }
    for (Solid& cutter : corner_cutters(edges, dist)) {
        poll_interrupt();
        current = boolean_impl("cut", std::move(current), std::move(cutter));
    }
    refuse_if_overcut(solid, current);
    return current;
}

}  // namespace

Chamfered chamfer(const Solid& solid, const Rational& dist, const Body* body) {
    if (dist.sign() < 0) refuse_negative_distance();
    if (dist.sign() == 0) {
        (void)reach(solid);  // a solid without polygons fails here, as every chamfer of it does
        return solid;
    }
    if (is_convex(solid) && every_face_has_a_rational_unit_normal(solid)) return chamfer_convex(solid, dist);
    return chamfer_locally(solid, dist, body);
}

}  // namespace brevant
