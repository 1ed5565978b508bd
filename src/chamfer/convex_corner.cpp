#include "chamfer/corner_planner.hpp"

// Vertices where every edge is convex.

namespace brevant {

void CornerPlanner::plan_convex() {
    const std::size_t k = corner_.ends.size();
    if (faces_.faces.size() != k) refuse("its faces do not close around it");
    for (std::size_t f = 0; f < k; ++f) {
        std::size_t holders = 0;
        for (std::size_t e = 0; e < k; ++e) holders += faces_.holds(e, f) ? 1 : 0;
        if (holders != 2) refuse("its faces do not close around it");
    }
    for (std::size_t e = 0; e < k; ++e) {
        if (!chosen(e)) continue;
        std::vector<Halfspace> alternative;
        EndRule& r = rule(e);
        for (std::size_t f = 0; f < k; ++f) {
            if (faces_.holds(e, f)) continue;
            require_keeps(face_plane(f), e);
            r.bounds.push_back(face_plane(f));
            alternative.push_back({face_plane(f), contact("chamfer.face", face_id(f))});
        }
        for (std::size_t earlier = 0; earlier < e; ++earlier) {
            if (!chosen(earlier)) continue;
            const Plane& kept_side = bevel(earlier).plane;  // behind it: outside the earlier wedge
            require_keeps(kept_side, e);
            r.bounds.push_back(kept_side);
            alternative.push_back({kept_side, labelled("chamfer.end")});
        }
        r.alternatives.push_back(std::move(alternative));
    }
    if (k == 3 && chosen(0) && chosen(1) && chosen(2)) add_corner_piece();
}

// The point where two bevels meet face f.
std::optional<Vec3> CornerPlanner::bevels_on_face(std::size_t f) const {
    std::vector<const Plane*> planes{&face_plane(f)};
    for (std::size_t e = 0; e < 3; ++e) {
        if (faces_.holds(e, f)) planes.push_back(&bevel(e).plane);
    }
    return solve3({planes[0]->normal, planes[1]->normal, planes[2]->normal},
                  {planes[0]->offset, planes[1]->offset, planes[2]->offset});
}

void CornerPlanner::add_corner_piece() {
    const std::optional<Vec3> y = solve3({bevel(0).plane.normal, bevel(1).plane.normal, bevel(2).plane.normal},
                                         {bevel(0).plane.offset, bevel(1).plane.offset, bevel(2).plane.offset});
    if (!y) return;
    std::array<Vec3, 3> z;
    for (std::size_t f = 0; f < 3; ++f) {
        std::optional<Vec3> zf = bevels_on_face(f);
        if (!zf) return;
        for (std::size_t e = 0; e < 3; ++e) {
            if (!faces_.holds(e, f) && bevel(e).plane.side(*zf) >= 0) return;
        }
        z[f] = std::move(*zf);
    }
    Plane facet = Plane::from_points(z[0], z[1], z[2]);
    if (facet.side(corner_.point) > 0) facet = facet.flipped();
    if (facet.side(corner_.point) == 0 || facet.side(*y) >= 0) return;

    // Face i of the seed leaves out corner i: the face without Z_f lies in the bevel of the end
    // that is not on f, the facet leaves out Y. The facet's plane crosses much of the solid, so
    // it comes last: the boolean splits the solid by its cutter's first planes first.
    VertexPiece piece;
    piece.seed = tetrahedron({z[0], z[1], z[2], *y}, {labelled("chamfer.end"), labelled("chamfer.end"),
                                                      labelled("chamfer.end"), labelled(facet_label_)});
    for (std::size_t f = 0; f < 3; ++f) piece.cuts.push_back({face_plane(f), contact("chamfer.face", face_id(f))});
    plan_.pieces.push_back(std::move(piece));
}

}  // namespace brevant
