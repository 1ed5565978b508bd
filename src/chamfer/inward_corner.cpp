#include "chamfer/corner_planner.hpp"

// Vertices where a face turns inward: an L-shaped cap, and two bars crossing.

namespace brevant {

CornerPlanner::Reflex CornerPlanner::reflex_cap() const {
    const auto [e1, e2, c] = convex_ends_first();
    const Shared s = shared_faces(e1, e2);
    if (!joins(c, s.only_x, s.only_y)) refuse("its faces do not close around it");
    return {e1, e2, c, s.common, s.only_x, s.only_y};
}

void CornerPlanner::plan_reflex_cap() {
    const auto [e1, e2, c, cap, w1, w2] = reflex_cap();
    for (const auto& [e, other_wall] : {std::pair{e1, w2}, std::pair{e2, w1}}) stop_at(e, other_wall, false);
    const Vec3 p = bevel_on_line(e1, c);
    if (!(p == bevel_on_line(e2, c))) {
        refuse("the bevels of its two convex edges meet its concave edge at different points");
    }
    const Vec3 a1 = meet(bevel(e1).plane, face_plane(cap), face_plane(w2));
    const Vec3 a2 = meet(bevel(e2).plane, face_plane(cap), face_plane(w1));
    if (Plane::from_points(a1, a2, p).side(corner_.point) == 0) refuse("its bevels do not meet its faces");

    // Without a1: in W1; without a2: in W2; without p: in the cap; without V: the facet, last as
    // in the corner piece.
    VertexPiece piece;
    piece.seed = tetrahedron({a1, a2, p, corner_.point}, {labelled("chamfer.end"), labelled("chamfer.end"),
                                                          contact("chamfer.face", face_id(cap)), labelled(facet_label_)});
    plan_.pieces.push_back(std::move(piece));
}

// Two bars crossing, one on top of the other (four ends: each convex edge runs on through V as
// a concave one, e1 with c1 and e2 with c2). Faces: flat1 holds e1 and c1, flat2 holds e2 and
// c2; the cap faces cap1 (e1, c2) and cap2 (c1, e2) meet the flats at the concave edges. Each
// wedge stops at the other bar's flat plane; between them, below and above the line where the
// two flats' planes meet, two tetrahedra V p1 p2 q1 and V p1 p2 q2 are removed, where p1 (p2)
// is where the bevel of e2 (e1) meets c1 (c2), and q1 (q2) where the bevel of e1 (e2) meets
// that line. Returns false when the ends do not have that shape.
bool CornerPlanner::plan_crossing_bars() {
    const std::vector<std::size_t> convex = ends_of_kind(true), concave = ends_of_kind(false);
    const auto running_on = [&](std::size_t e) -> std::optional<std::size_t> {
        for (std::size_t c : concave) {
            const Vec3& u = corner_.ends[e].into;
            const Vec3& w = corner_.ends[c].into;
            const Vec3 across = cross(u, w);
            if (across[0].is_zero() && across[1].is_zero() && across[2].is_zero() && dot(u, w).sign() < 0) return c;
        }
        return std::nullopt;
    };
    const std::optional<std::size_t> c1 = running_on(convex[0]), c2 = running_on(convex[1]);
    if (!c1 || !c2 || *c1 == *c2) return false;
    const std::size_t e1 = convex[0], e2 = convex[1];
    const auto flat_of = [&](std::size_t e, std::size_t c) -> std::optional<std::size_t> {
        for (std::size_t f : faces_.of_end[e]) {
            if (faces_.holds(c, f)) return f;
        }
        return std::nullopt;
    };
    const std::optional<std::size_t> flat1 = flat_of(e1, *c1), flat2 = flat_of(e2, *c2);
    if (!flat1 || !flat2 || faces_.faces.size() != 4) return false;
    const std::size_t cap1 = faces_.other_face(e1, *flat1), cap2 = faces_.other_face(*c1, *flat1);
    if (faces_.other_face(e2, *flat2) != cap2 || faces_.other_face(*c2, *flat2) != cap1) return false;

    for (const auto& [e, other_flat] : {std::pair{e1, *flat2}, std::pair{e2, *flat1}}) stop_at(e, other_flat, false);
    const Vec3 p1 = bevel_on_line(e2, *c1), p2 = bevel_on_line(e1, *c2);
    const Vec3 q1 = meet(bevel(e1).plane, face_plane(*flat1), face_plane(*flat2));
    const Vec3 q2 = meet(bevel(e2).plane, face_plane(*flat1), face_plane(*flat2));
    const Plane between = Plane::from_points(corner_.point, p1, p2);
    if (between.side(q1) * between.side(q2) >= 0) refuse("its bevels do not meet its faces");
    // Face i leaves out corner i. Without p1 it lies in flat2's plane, without p2 in flat1's: the
    // tetrahedron on q1's side touches flat1 there and meets e1's wedge end in flat2's plane, the
    // one on q2's side touches flat2 and meets e2's wedge end in flat1's plane. Without q: the
    // face the two share; without V: the facet.
    plan_.pieces.push_back({tetrahedron({p1, p2, q1, corner_.point},
                                        {labelled("chamfer.end"), contact("chamfer.face", face_id(*flat1)),
                                         labelled("chamfer.end"), labelled(facet_label_)}),
                            {}});
    plan_.pieces.push_back({tetrahedron({p1, p2, q2, corner_.point},
                                        {contact("chamfer.face", face_id(*flat2)), labelled("chamfer.end"),
                                         labelled("chamfer.end"), labelled(facet_label_)}),
                            {}});
    return true;
}

}  // namespace brevant
