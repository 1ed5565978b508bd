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

// The faces of a corner and, per end, the indices of its two faces. Faces are told apart by the
// edge map's face index, so that two faces in one plane meeting only at the corner stay two.
struct CornerFaces {
    std::vector<const SegmentFace*> faces;
    std::vector<std::size_t> ids;
    std::vector<std::array<std::size_t, 2>> of_end;

    std::size_t index_of(const SegmentFace& face, std::size_t id) {
        const auto it = std::find(ids.begin(), ids.end(), id);
        if (it != ids.end()) return static_cast<std::size_t>(it - ids.begin());
        faces.push_back(&face);
        ids.push_back(id);
        return faces.size() - 1;
    }
    bool holds(std::size_t end, std::size_t face) const { return of_end[end][0] == face || of_end[end][1] == face; }
    std::size_t other_face(std::size_t end, std::size_t face) const {
        return of_end[end][0] == face ? of_end[end][1] : of_end[end][0];
    }
};

class CornerPlanner {
public:
    CornerPlanner(const EdgeMap& map, const std::vector<std::optional<Bevel>>& bevels, const Corner& corner,
                  VertexPlan& plan)
        : map_(map), bevels_(bevels), corner_(corner), plan_(plan) {
        for (const End& end : corner.ends) {
            const Segment& s = map.segments[end.segment];
            faces_.of_end.push_back(
                {faces_.index_of(s.a, map.face_of[s.a.polygon]), faces_.index_of(s.b, map.face_of[s.b.polygon])});
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
        if (corner_.ends.size() == 4 && convex == 2 && plan_crossing_bars()) return;
        if (corner_.ends.size() == 6 && convex == 3 && plan_tripod()) return;
        refuse("it joins " + std::to_string(convex) + " convex and " + std::to_string(concave) + " concave edges");
    }

private:
    [[noreturn]] void refuse(const std::string& reason) const { refuse_vertex(corner_.point, reason); }

    const Segment& segment(const End& end) const { return map_.segments[end.segment]; }
    const Bevel& bevel(std::size_t end) const { return *bevels_[corner_.ends[end].segment]; }
    std::size_t face_id(std::size_t face) const { return faces_.ids[face]; }
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
    Vec3 bevel_on_line(std::size_t e, std::size_t c) const { return plane_on_line(bevel(e).plane, c); }

    // Where a plane meets the line of end c, past V.
    Vec3 plane_on_line(const Plane& b, std::size_t c) const {
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

    std::vector<std::size_t> ends_of_kind(bool convex) const {
        std::vector<std::size_t> ends;
        for (std::size_t e = 0; e < corner_.ends.size(); ++e) {
            if (segment(corner_.ends[e]).convex == convex) ends.push_back(e);
        }
        return ends;
    }

    // The three ends, convex ones first.
    std::array<std::size_t, 3> convex_ends_first() const {
        std::vector<std::size_t> ends = ends_of_kind(true);
        for (std::size_t e : ends_of_kind(false)) ends.push_back(e);
        return {ends[0], ends[1], ends[2]};
    }

    void plan_reflex_cap() {
        const auto [e1, e2, c] = convex_ends_first();
        const Shared s = shared_faces(e1, e2);
        const std::size_t cap = s.common, w1 = s.only_x, w2 = s.only_y;
        if (!joins(c, w1, w2)) refuse("its faces do not close around it");
        for (const auto& [e, other_wall] : {std::pair{e1, w2}, std::pair{e2, w1}}) {
            Plane stop = keeping(face_plane(other_wall), e);
            rule(e).bounds.push_back(stop);
            rule(e).alternatives.push_back({{std::move(stop), labelled("chamfer.end")}});
        }
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

    // Two bars crossing, one on top of the other (four ends: each convex edge runs on through V as
    // a concave one, e1 with c1 and e2 with c2). Faces: flat1 holds e1 and c1, flat2 holds e2 and
    // c2; the cap faces cap1 (e1, c2) and cap2 (c1, e2) meet the flats at the concave edges. Each
    // wedge stops at the other bar's flat plane; between them, below and above the line where the
    // two flats' planes meet, two tetrahedra V p1 p2 q1 and V p1 p2 q2 are removed, where p1 (p2)
    // is where the bevel of e2 (e1) meets c1 (c2), and q1 (q2) where the bevel of e1 (e2) meets
    // that line. Returns false when the ends do not have that shape.
    bool plan_crossing_bars() {
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

        for (const auto& [e, other_flat] : {std::pair{e1, *flat2}, std::pair{e2, *flat1}}) {
            Plane stop = keeping(face_plane(other_flat), e);
            rule(e).bounds.push_back(stop);
            rule(e).alternatives.push_back({{std::move(stop), labelled("chamfer.end")}});
        }
        const Vec3 p1 = bevel_on_line(e2, *c1), p2 = bevel_on_line(e1, *c2);
        const Vec3 q1 = meet(bevel(e1).plane, face_plane(*flat1), face_plane(*flat2));
        const Vec3 q2 = meet(bevel(e2).plane, face_plane(*flat1), face_plane(*flat2));
        const Plane between = Plane::from_points(corner_.point, p1, p2);
        if (between.side(q1) * between.side(q2) >= 0) refuse("its bevels do not meet its faces");
        // Without p1: in the other flat's plane; without p2: in its own flat's plane; without q: the
        // face the two share; without V: the facet.
        plan_.pieces.push_back({tetrahedron({p1, p2, q1, corner_.point},
                                            {labelled("chamfer.end"), contact("chamfer.face", face_id(*flat1)),
                                             labelled("chamfer.end"), labelled("corner.a")}),
                                {}});
        plan_.pieces.push_back({tetrahedron({p1, p2, q2, corner_.point},
                                            {contact("chamfer.face", face_id(*flat2)), labelled("chamfer.end"),
                                             labelled("chamfer.end"), labelled("corner.a")}),
                                {}});
        return true;
    }

    // Three convex and three concave edges in turn around V, each face holding one of each (the
    // inside corner where three bars meet). Each wedge flares as at a flared vertex, stops at the
    // plane through V and its two neighbouring concave edges, and is kept also behind the facet H
    // through the three points where each bevel meets its two flare planes. Between the three
    // stop planes, the tetrahedron cut off by H (V and the points where H meets the concave edges)
    // goes too. Returns false when the ends do not have that shape.
    bool plan_tripod() {
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
            r.alternatives.push_back({stop, {f.phi_a.flipped(), labelled("chamfer.flare")}, {f.phi_b, labelled("chamfer.flare")}});
            r.alternatives.push_back({stop, {f.phi_a.flipped(), labelled("chamfer.flare")},
                                      {f.phi_b.flipped(), labelled("chamfer.flare")}, {facet, labelled("corner.a")}});
        }
        std::array<Vec3, 3> on_concave;
        for (std::size_t i = 0; i < 3; ++i) on_concave[i] = plane_on_line(facet, concave[i]);
        // Face i leaves out the point on concave edge i: it lies in the stop plane of the convex
        // edge between the other two, where it meets that wedge's end.
        plan_.pieces.push_back({tetrahedron({on_concave[0], on_concave[1], on_concave[2], corner_.point},
                                            {labelled("chamfer.end"), labelled("chamfer.end"),
                                             labelled("chamfer.end"), labelled("corner.a")}),
                                {}});
        return true;
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
