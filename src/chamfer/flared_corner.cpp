#include "chamfer/corner_planner.hpp"

// Vertices where convex edges meet faces through concave ones: a post on a face, three bars.

namespace brevant {

void CornerPlanner::plan_flared() {
    const auto [e, c1, c2] = convex_ends_first();
    const std::size_t fa = faces_.of_end[e][0], fb = faces_.of_end[e][1];
    const std::size_t ca = faces_.holds(c1, fa) ? c1 : c2;
    const std::size_t cb = ca == c1 ? c2 : c1;
    if (!faces_.holds(ca, fa)) refuse("its faces do not close around it");
    const std::size_t floor = faces_.of_end[ca][0] == fa ? faces_.of_end[ca][1] : faces_.of_end[ca][0];
    if (floor == fb || !joins(cb, fb, floor)) refuse("its faces do not close around it");
    Plane phi_a = flare_plane(fa, floor, e);
    Plane phi_b = flare_plane(fb, floor, e);
    EndRule& r = rule(e);
    r.bounds = {phi_a, phi_b};
    r.alternatives.push_back({{phi_a, labelled("chamfer.flare")}});  // on the edge's side of φA
    // on the other side of φA, on the edge's side of φB
    r.alternatives.push_back(
        {{phi_a.flipped(), labelled("chamfer.flare")}, {std::move(phi_b), labelled("chamfer.flare")}});
}

// Three convex and three concave edges in turn around V, each face holding one of each (the
// inside corner where three bars meet). Each wedge flares as at a flared vertex, stops at the
// plane through V and its two neighbouring concave edges, and is kept also behind the facet H
// through the three points where each bevel meets its two flare planes. Between the three
// stop planes, the tetrahedron cut off by H (V and the points where H meets the concave edges)
// goes too. Returns false when the ends do not have that shape.
bool CornerPlanner::plan_tripod() {
    if (faces_.faces.size() != 6) return false;
    const std::vector<std::size_t> convex = ends_of_kind(true), concave = ends_of_kind(false);
    const auto concave_on = [&](std::size_t face) -> std::optional<std::size_t> {
        std::optional<std::size_t> found;
        for (std::size_t c : concave) {
            if (!faces_.holds(c, face)) continue;
            if (found) return std::nullopt;
            found = c;
        }
        return found;
    };
    struct Flare {
        Plane stop, phi_a, phi_b;
    };
    std::vector<Flare> flares;
    std::vector<Vec3> apexes;
    for (std::size_t e : convex) {
        const std::size_t fa = faces_.of_end[e][0], fb = faces_.of_end[e][1];
        const std::optional<std::size_t> ca = concave_on(fa), cb = concave_on(fb);
        if (!ca || !cb || *ca == *cb) return false;
        const Vec3 span = cross(corner_.ends[*ca].into, corner_.ends[*cb].into);
        Rational offset = dot(span, corner_.point);
        Flare f{keeping({span, std::move(offset)}, e), flare_plane(fa, faces_.other_face(*ca, fa), e),
                flare_plane(fb, faces_.other_face(*cb, fb), e)};
        apexes.push_back(meet(bevel(e).plane, f.phi_a, f.phi_b));
        flares.push_back(std::move(f));
    }
    Plane facet = Plane::from_points(apexes[0], apexes[1], apexes[2]);
    if (facet.side(corner_.point) > 0) facet = facet.flipped();
    if (facet.side(corner_.point) == 0) refuse("its bevels do not meet its faces");
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t e = convex[i];
        require_keeps(facet, e);
        Flare& f = flares[i];
        EndRule& r = rule(e);
        r.bounds = {f.stop, f.phi_a, f.phi_b, facet};
        const Halfspace stop{f.stop, labelled("chamfer.end")};
        r.alternatives.push_back({stop, {f.phi_a, labelled("chamfer.flare")}});
        r.alternatives.push_back(
            {stop, {f.phi_a.flipped(), labelled("chamfer.flare")}, {f.phi_b, labelled("chamfer.flare")}});
        r.alternatives.push_back({stop, {f.phi_a.flipped(), labelled("chamfer.flare")},
                                  {f.phi_b.flipped(), labelled("chamfer.flare")}, {facet, labelled(facet_label_)}});
    }
    std::array<Vec3, 3> on_concave;
    for (std::size_t i = 0; i < 3; ++i) on_concave[i] = plane_on_line(facet, concave[i]);
    // Face i leaves out the point on concave edge i: it lies in the stop plane of the convex
    // edge between the other two, where it meets that wedge's end.
    plan_.pieces.push_back({tetrahedron({on_concave[0], on_concave[1], on_concave[2], corner_.point},
                                        {labelled("chamfer.end"), labelled("chamfer.end"),
                                         labelled("chamfer.end"), labelled(facet_label_)}),
                            {}});
    return true;
}

}  // namespace brevant
