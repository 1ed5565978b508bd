#include "chamfer/corner_planner.hpp"

#include <algorithm>

#include "chamfer/refusals.hpp"

namespace brevant {

std::size_t CornerFaces::index_of(const SegmentFace& face, std::size_t id) {
    const auto it = std::find(ids.begin(), ids.end(), id);
    if (it != ids.end()) return static_cast<std::size_t>(it - ids.begin());
    faces.push_back(&face);
    ids.push_back(id);
    return faces.size() - 1;
}

CornerPlanner::CornerPlanner(const EdgeMap& map, const std::vector<std::optional<Bevel>>& bevels, const Corner& corner,
                             VertexPlan& plan, std::string facet_label, const std::vector<char>* chosen)
    : map_(map),
      bevels_(bevels),
      corner_(corner),
      plan_(plan),
      facet_label_(std::move(facet_label)),
      chosen_segments_(chosen) {
    for (const CornerEnd& end : corner.ends) {
        const Segment& s = map.segments[end.segment];
        faces_.of_end.push_back(
            {faces_.index_of(s.a, map.face_of[s.a.polygon]), faces_.index_of(s.b, map.face_of[s.b.polygon])});
    }
}

void CornerPlanner::plan() {
    if (chosen_segments_) return plan_chosen();
    std::size_t convex = 0;
    for (const CornerEnd& end : corner_.ends) convex += segment(end).convex ? 1 : 0;
    const std::size_t concave = corner_.ends.size() - convex;
    if (corner_.crossed) refuse("an edge runs straight through it");
    if (concave == 0) return plan_convex();
    if (corner_.ends.size() == 3 && convex == 2) return plan_reflex_cap();
    if (corner_.ends.size() == 3 && convex == 1) return plan_flared();
    if (corner_.ends.size() == 4 && convex == 2 && plan_crossing_bars()) return;
    if (corner_.ends.size() == 6 && convex == 3 && plan_tripod()) return;
    refuse("it joins " + std::to_string(convex) + " convex and " + std::to_string(concave) + " concave edges");
}

void CornerPlanner::refuse(const std::string& reason) const { refuse_vertex(corner_.point, reason); }

EndRule& CornerPlanner::rule(std::size_t end) {
    const CornerEnd& e = corner_.ends[end];
    return e.at_start ? plan_.at_start[e.segment] : plan_.at_end[e.segment];
}

Plane CornerPlanner::keeping(const Plane& plane, std::size_t end) const {
    const int along = dot(plane.normal, corner_.ends[end].into).sign();
    if (along == 0) refuse("a bevel there does not end on the neighbouring faces");
    return along > 0 ? plane.flipped() : plane;
}

void CornerPlanner::stop_at(std::size_t end, std::size_t f, bool exposed) {
    Plane plane = keeping(face_plane(f), end);
    rule(end).bounds.push_back(plane);
    rule(end).alternatives.push_back(
        {{std::move(plane), exposed ? stop("chamfer.end", face_id(f)) : labelled("chamfer.end")}});
}

void CornerPlanner::require_keeps(const Plane& plane, std::size_t end) const {
    if (dot(plane.normal, corner_.ends[end].into).sign() >= 0) {
        refuse("a bevel there does not end on the neighbouring faces");
    }
}

std::vector<std::size_t> CornerPlanner::ends_of_kind(bool convex) const {
    std::vector<std::size_t> ends;
    for (std::size_t e = 0; e < corner_.ends.size(); ++e) {
        if (segment(corner_.ends[e]).convex == convex) ends.push_back(e);
    }
    return ends;
}

std::array<std::size_t, 3> CornerPlanner::convex_ends_first() const {
    std::vector<std::size_t> ends = ends_of_kind(true);
    for (std::size_t e : ends_of_kind(false)) ends.push_back(e);
    return {ends[0], ends[1], ends[2]};
}

CornerPlanner::Shared CornerPlanner::shared_faces(std::size_t x, std::size_t y) const {
    const auto& fx = faces_.of_end[x];
    const auto& fy = faces_.of_end[y];
    for (std::size_t i = 0; i < 2; ++i) {
        for (std::size_t j = 0; j < 2; ++j) {
            if (fx[i] == fy[j] && fx[1 - i] != fy[1 - j]) return {fx[i], fx[1 - i], fy[1 - j]};
        }
    }
    refuse("its faces do not close around it");
}

bool CornerPlanner::joins(std::size_t end, std::size_t f, std::size_t g) const {
    const auto& fe = faces_.of_end[end];
    return (fe[0] == f && fe[1] == g) || (fe[0] == g && fe[1] == f);
}

Vec3 CornerPlanner::plane_on_line(const Plane& b, std::size_t c) const {
    const Vec3& u = corner_.ends[c].into;
    const Rational along = dot(b.normal, u);
    if (along.is_zero()) refuse("a bevel there does not end on the neighbouring faces");
    const Rational t = (b.offset - dot(b.normal, corner_.point)) / along;
    if (t.sign() <= 0) refuse("a bevel there does not end on the neighbouring faces");
    return add(corner_.point, smul(t, u));
}

Vec3 CornerPlanner::meet(const Plane& p, const Plane& q, const Plane& r) const {
    std::optional<Vec3> x = solve3({p.normal, q.normal, r.normal}, {p.offset, q.offset, r.offset});
    if (!x) refuse("its bevels do not meet its faces");
    return std::move(*x);
}

Plane CornerPlanner::flare_plane(std::size_t f, std::size_t floor, std::size_t e) const {
    const Vec3 normal = add(face_unit_normal(face_plane(f)), face_unit_normal(face_plane(floor)));
    Rational offset = dot(normal, corner_.point);
    return keeping({normal, std::move(offset)}, e);
}

}  // namespace brevant
