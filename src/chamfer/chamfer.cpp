#include "chamfer/chamfer.hpp"

#include <set>

#include "boolean/boolean.hpp"
#include "chamfer/convexity.hpp"
#include "chamfer/corner_cutter.hpp"
#include "chamfer/edge_cutter.hpp"
#include "exact/failure.hpp"
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
    if (inverted || lost_face) throw Refusal("chamfer: the distance is too large for this solid");
}

}  // namespace

Solid chamfer(const Solid& solid, const Rational& dist) {
    if (dist.sign() < 0) throw Refusal("chamfer: the distance is negative");
    const std::vector<Edge> edges = select_edges(logical_edges(solid));
    const Rational r = reach(solid);
    if (dist.sign() > 0 && !is_convex(solid)) throw Refusal("chamfer: the solid is not convex");

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
    if (dist.sign() > 0) refuse_if_overcut(solid, current);
    return current;
}

}  // namespace brevant
