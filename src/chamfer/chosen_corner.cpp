#include "chamfer/corner_planner.hpp"

// Vertices where edges chosen by chamfer_edges end, beside unchosen ones or not.

namespace brevant {

void CornerPlanner::plan_chosen() {
    const std::size_t k = corner_.ends.size();
    std::size_t convex = 0, chosen_here = 0;
    bool chosen_other_kind = false;  // a chosen end that the other kind's pass bevels
    for (std::size_t e = 0; e < k; ++e) {
        const bool is_convex = segment(corner_.ends[e]).convex;
        convex += is_convex ? 1 : 0;
        chosen_here += chosen(e) ? 1 : 0;
        chosen_other_kind = chosen_other_kind || (!is_convex && (*chosen_segments_)[corner_.ends[e].segment]);
    }
    if (corner_.crossed) refuse("an edge runs straight through it");
    if (chosen_other_kind) refuse("it joins chosen convex and concave edges");
    if (convex == k) return plan_convex();
    if (k == 3 && convex == 2) return plan_reflex_chosen();
    if (k == 3 && convex == 1) return plan_stop(ends_of_kind(true).front());
    if (chosen_here == convex) {  // every convex edge there is chosen: the chamfer's own rules
        if (k == 4 && convex == 2 && plan_crossing_bars()) return;
        if (k == 6 && convex == 3 && plan_tripod()) return;
        if (convex == 2 && plan_mitre_across_concave()) return;
    }
    refuse("it joins " + std::to_string(chosen_here) + " chosen and " + std::to_string(k - chosen_here) +
           " unchosen edges");
}

// A bevel ending where two concave edges meet it stops in the plane of the third face there,
// the one that does not hold its edge.
void CornerPlanner::plan_stop(std::size_t end) {
    if (faces_.faces.size() != 3) refuse("its faces do not close around it");
    for (std::size_t f = 0; f < 3; ++f) {
        if (!faces_.holds(end, f)) return stop_at(end, f, true);
    }
    refuse("its faces do not close around it");
}

// Where a cap turns inward, two chosen bevels meet in a mitre: each stops at the plane through
// the concave edge and the point a where both bevels meet the cap. Their ends there coincide when
// both bevels meet the concave edge at one point; otherwise a small triangle of that plane joins
// them. A bevel whose neighbour is not chosen ends in the neighbour's wall plane.
void CornerPlanner::plan_reflex_chosen() {
    const auto [e1, e2, c, cap, w1, w2] = reflex_cap();
    if (!chosen(e1) || !chosen(e2)) {
        for (const auto& [e, other_wall] : {std::pair{e1, w2}, std::pair{e2, w1}}) {
            if (chosen(e)) stop_at(e, other_wall, true);
        }
        return;
    }
    const Vec3 a = meet(bevel(e1).plane, bevel(e2).plane, face_plane(cap));
    const Plane mitre = Plane::from_points(corner_.point, add(corner_.point, corner_.ends[c].into), a);
    const int side1 = dot(mitre.normal, corner_.ends[e1].into).sign();
    const int side2 = dot(mitre.normal, corner_.ends[e2].into).sign();
    if (side1 * side2 >= 0) refuse("its bevels do not meet its faces");
    stop_both_at(mitre, e1, e2);
}

// Two chosen convex edges with the concave edges between them lying in one plane that parts them
// (where bevels already meet in a mitre over an inward corner): each stops at that plane.
bool CornerPlanner::plan_mitre_across_concave() {
    const std::vector<std::size_t> convex = ends_of_kind(true), concave = ends_of_kind(false);
    std::optional<Vec3> normal;
    for (std::size_t i = 1; i < concave.size() && !normal; ++i) {
        const Vec3 n = cross(corner_.ends[concave[0]].into, corner_.ends[concave[i]].into);
        if (!(n[0].is_zero() && n[1].is_zero() && n[2].is_zero())) normal = n;
    }
    if (!normal) return false;
    for (const std::size_t c : concave) {
        if (!dot(*normal, corner_.ends[c].into).is_zero()) return false;
    }
    const int side1 = dot(*normal, corner_.ends[convex[0]].into).sign();
    const int side2 = dot(*normal, corner_.ends[convex[1]].into).sign();
    if (side1 * side2 >= 0) return false;
    stop_both_at({*normal, dot(*normal, corner_.point)}, convex[0], convex[1]);
    return true;
}

void CornerPlanner::stop_both_at(const Plane& plane, std::size_t e1, std::size_t e2) {
    for (const std::size_t e : {e1, e2}) {
        Plane kept = keeping(plane, e);
        rule(e).bounds.push_back(kept);
        rule(e).alternatives.push_back({{std::move(kept), labelled("chamfer.end")}});
    }
}

}  // namespace brevant
