#include "chamfer/vertex_rules.hpp"

#include <algorithm>
#include <map>

#include "chamfer/refusals.hpp"
#include "exact/interrupt.hpp"
#include "solid/measures.hpp"

namespace brevant {
namespace {

struct End {
    std::size_t segment;
    bool at_start;
    Vec3 into;
};

struct Corner {
    Vec3 point;
    std::vector<End> ends;  // in segment order
    bool crossed_by_convex = false;
    bool crossed = false;
};

// Every segment end, keyed by point text, and whether a segment runs on through the point.
std::map<std::string, Corner> corners_of(const EdgeMap& map) {
    std::map<std::string, Corner> corners;
    for (std::size_t i = 0; i < map.segments.size(); ++i) {
        const Segment& s = map.segments[i];
        for (const bool at_start : {true, false}) {
            const Vec3& p = at_start ? s.start : s.end;
            Corner& corner = corners[point_text(p)];
            corner.point = p;
            corner.ends.push_back({i, at_start, at_start ? s.dir : neg(s.dir)});
        }
    }
    for (const Segment& s : map.segments) {
        for (const Vec3& joint : s.joints) {
            poll_interrupt();  // every joint of every segment
            const auto it = corners.find(point_text(joint));
            if (it == corners.end()) continue;
            it->second.crossed = true;
            it->second.crossed_by_convex = it->second.crossed_by_convex || s.convex;
        }
    }
    return corners;
}

// The faces of a corner (distinct planes) and, per end, the indices of its two faces.
struct CornerFaces {
    std::vector<const SegmentFace*> faces;
    std::vector<PlaneKey> keys;
    std::vector<std::array<std::size_t, 2>> of_end;

    std::size_t index_of(const SegmentFace& face) {
        PlaneKey key = face.plane.canonical();
        const auto it = std::find(keys.begin(), keys.end(), key);
        if (it != keys.end()) return static_cast<std::size_t>(it - keys.begin());
        faces.push_back(&face);
        keys.push_back(std::move(key));
        return faces.size() - 1;
    }
    bool holds(std::size_t end, std::size_t face) const { return of_end[end][0] == face || of_end[end][1] == face; }
};

class CornerPlanner {
public:
    CornerPlanner(const EdgeMap& map, const std::vector<std::optional<Bevel>>& bevels, const Corner& corner,
                  VertexPlan& plan)
        : map_(map), bevels_(bevels), corner_(corner), plan_(plan) {
        for (const End& end : corner.ends) {
            const Segment& s = map.segments[end.segment];
            faces_.of_end.push_back({faces_.index_of(s.a), faces_.index_of(s.b)});
        }
    }

    void plan() {
        std::size_t convex = 0;
        for (const End& end : corner_.ends) convex += segment(end).convex ? 1 : 0;
        const std::size_t concave = corner_.ends.size() - convex;
        if (corner_.crossed) refuse("an edge runs straight through it");
        if (concave == 0) return plan_convex();
        if (corner_.ends.size() == 3 && convex == 2) return plan_reflex_cap();
        if (corner_.ends.size() == 3 && convex == 1) return plan_flared();
        refuse("it joins " + std::to_string(convex) + " convex and " + std::to_string(concave) + " concave edges");
    }

private:
    [[noreturn]] void refuse(const std::string& reason) const { refuse_vertex(corner_.point, reason); }

    const Segment& segment(const End& end) const { return map_.segments[end.segment]; }
    const Bevel& bevel(std::size_t end) const { return *bevels_[corner_.ends[end].segment]; }
    std::size_t face_id(std::size_t face) const { return map_.face_of[faces_.faces[face]->polygon]; }
    const Plane& face_plane(std::size_t face) const { return faces_.faces[face]->plane; }
    EndRule& rule(std::size_t end) {
        const End& e = corner_.ends[end];
        return e.at_start ? plan_.at_start[e.segment] : plan_.at_end[e.segment];
    }

    // The plane, or its flip, that keeps the end's edge behind it.
    Plane keeping(const Plane& plane, std::size_t end) const {
        const int along = dot(plane.normal, corner_.ends[end].into).sign();
        if (along == 0) refuse("a bevel there does not end on the neighbouring faces");
        return along > 0 ? plane.flipped() : plane;
    }
    // A bound that must already keep the end's edge behind it.
    void require_keeps(const Plane& plane, std::size_t end) const {
        if (dot(plane.normal, corner_.ends[end].into).sign() >= 0) {
            refuse("a bevel there does not end on the neighbouring faces");
        }
    }

    void plan_convex() {
        const std::size_t k = corner_.ends.size();
        if (faces_.faces.size() != k) refuse("its faces do not close around it");
        for (std::size_t f = 0; f < k; ++f) {
            std::size_t holders = 0;
            for (std::size_t e = 0; e < k; ++e) holders += faces_.holds(e, f) ? 1 : 0;
            if (holders != 2) refuse("its faces do not close around it");
        }
        for (std::size_t e = 0; e < k; ++e) {
            std::vector<Halfspace> alternative;
            EndRule& r = rule(e);
            for (std::size_t f = 0; f < k; ++f) {
                if (faces_.holds(e, f)) continue;
                require_keeps(face_plane(f), e);
                r.bounds.push_back(face_plane(f));
                alternative.push_back({face_plane(f), contact("chamfer.face", face_id(f))});
            }
            for (std::size_t earlier = 0; earlier < e; ++earlier) {
                const Plane& kept_side = bevel(earlier).plane;  // behind it: outside the earlier wedge
                require_keeps(kept_side, e);
                r.bounds.push_back(kept_side);
                alternative.push_back({kept_side, labelled("chamfer.end")});
            }
            r.alternatives.push_back(std::move(alternative));
        }
        if (k == 3) add_corner_piece();
    }

    // The point where two bevels meet face f.
    std::optional<Vec3> bevels_on_face(std::size_t f) const {
        std::vector<const Plane*> planes{&face_plane(f)};
        for (std::size_t e = 0; e < 3; ++e) {
            if (faces_.holds(e, f)) planes.push_back(&bevel(e).plane);
        }
        return solve3({planes[0]->normal, planes[1]->normal, planes[2]->normal},
                      {planes[0]->offset, planes[1]->offset, planes[2]->offset});
    }

    void add_corner_piece() {
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
                                                          labelled("chamfer.end"), labelled("corner.a")});
        for (std::size_t f = 0; f < 3; ++f) piece.cuts.push_back({face_plane(f), contact("chamfer.face", face_id(f))});
        plan_.pieces.push_back(std::move(piece));
    }

    // The faces of ends x and y: the one they share and each one's other face.
    struct Shared {
        std::size_t common;
        std::size_t only_x;
        std::size_t only_y;
    };
    Shared shared_faces(std::size_t x, std::size_t y) const {
        const auto& fx = faces_.of_end[x];
        const auto& fy = faces_.of_end[y];
        for (std::size_t i = 0; i < 2; ++i) {
            for (std::size_t j = 0; j < 2; ++j) {
                if (fx[i] == fy[j] && fx[1 - i] != fy[1 - j]) return {fx[i], fx[1 - i], fy[1 - j]};
            }
        }
        refuse("its faces do not close around it");
    }
    bool joins(std::size_t end, std::size_t f, std::size_t g) const {
        const auto& fe = faces_.of_end[end];
        return (fe[0] == f && fe[1] == g) || (fe[0] == g && fe[1] == f);
    }

    // Where the bevel of end e meets the line of the concave end c, past V.
    Vec3 bevel_on_line(std::size_t e, std::size_t c) const {
        const Plane& b = bevel(e).plane;
        const Vec3& u = corner_.ends[c].into;
        const Rational along = dot(b.normal, u);
        if (along.is_zero()) refuse("a bevel there does not end on the neighbouring faces");
        const Rational t = (b.offset - dot(b.normal, corner_.point)) / along;
        if (t.sign() <= 0) refuse("a bevel there does not end on the neighbouring faces");
        return add(corner_.point, smul(t, u));
    }

    Vec3 meet(const Plane& p, const Plane& q, const Plane& r) const {
        std::optional<Vec3> x = solve3({p.normal, q.normal, r.normal}, {p.offset, q.offset, r.offset});
        if (!x) refuse("its bevels do not meet its faces");
        return std::move(*x);
    }

    std::array<std::size_t, 3> by_kind(bool first_convex) const {
        std::array<std::size_t, 3> order{};
        std::size_t n = 0;
        for (const bool want_convex : {first_convex, !first_convex}) {
            for (std::size_t e = 0; e < 3; ++e) {
                if (segment(corner_.ends[e]).convex == want_convex) order[n++] = e;
            }
        }
        return order;
    }

    void plan_reflex_cap() {
        const auto [e1, e2, c] = by_kind(true);
        const Shared s = shared_faces(e1, e2);
        const std::size_t cap = s.common, w1 = s.only_x, w2 = s.only_y;
        if (!joins(c, w1, w2)) refuse("its faces do not close around it");
        for (const auto& [e, other_wall] : {std::pair{e1, w2}, std::pair{e2, w1}}) {
            Plane stop = keeping(face_plane(other_wall), e);
            rule(e).bounds.push_back(stop);
            rule(e).alternatives.push_back({{std::move(stop), labelled("chamfer.end")}});
        }
        const Vec3 p = bevel_on_line(e1, c);
        if (!(p == bevel_on_line(e2, c))) refuse("the bevels of its two convex edges meet its concave edge at different points");
        const Vec3 a1 = meet(bevel(e1).plane, face_plane(cap), face_plane(w2));
        const Vec3 a2 = meet(bevel(e2).plane, face_plane(cap), face_plane(w1));
        if (Plane::from_points(a1, a2, p).side(corner_.point) == 0) refuse("its bevels do not meet its faces");

        // Without a1: in W1; without a2: in W2; without p: in the cap; without V: the facet, last as
        // in the corner piece.
        VertexPiece piece;
        piece.seed = tetrahedron({a1, a2, p, corner_.point}, {labelled("chamfer.end"), labelled("chamfer.end"),
                                                              contact("chamfer.face", face_id(cap)), labelled("corner.a")});
        plan_.pieces.push_back(std::move(piece));
    }

    // The plane through V and the concave edge between faces f and floor, with normal n̂f + n̂floor,
    // turned to keep the convex end e behind it.
    Plane flare_plane(std::size_t f, std::size_t floor, std::size_t e) const {
        const Vec3 normal = add(face_unit_normal(face_plane(f)), face_unit_normal(face_plane(floor)));
        Rational offset = dot(normal, corner_.point);
        return keeping({normal, std::move(offset)}, e);
    }

    void plan_flared() {
        const auto [e, c1, c2] = by_kind(true);
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
        r.alternatives.push_back({{phi_a, labelled("chamfer.flare")}});
        r.alternatives.push_back({{phi_a.flipped(), labelled("chamfer.flare")}, {phi_b, labelled("chamfer.flare")}});
    }

    const EdgeMap& map_;
    const std::vector<std::optional<Bevel>>& bevels_;
    const Corner& corner_;
    VertexPlan& plan_;
    CornerFaces faces_;
};

}  // namespace

VertexPlan plan_vertices(const EdgeMap& map, const std::vector<std::optional<Bevel>>& bevels) {
    VertexPlan plan;
    plan.at_start.resize(map.segments.size());
    plan.at_end.resize(map.segments.size());
    for (const auto& [key, corner] : corners_of(map)) {
        poll_interrupt();  // every vertex
        const bool has_convex_end = std::any_of(corner.ends.begin(), corner.ends.end(),
                                                [&](const End& e) { return map.segments[e.segment].convex; });
        if (!has_convex_end && !corner.crossed_by_convex) continue;
        CornerPlanner(map, bevels, corner, plan).plan();
    }
    return plan;
}

}  // namespace brevant
