// Resolving one vertex where a convex edge ends: the vertex rules of vertex_rules.hpp, one family
// per source file (convex_corner.cpp, inward_corner.cpp, flared_corner.cpp, chosen_corner.cpp).
//
// Notation: a Corner is the vertex V with its edge ends (segment, which end, and the direction
// `into` the segment). Its faces are numbered by first appearance; of_end[e] holds the two faces
// of end e. A plane "keeps" an end when V + into lies behind it. An end is chosen when its
// segment has a bevel: every convex end for the chamfer, the chosen ones for chamfer_edges.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "chamfer/vertex_rules.hpp"

namespace brevant {

struct CornerEnd {
    std::size_t segment;
    bool at_start;
    Vec3 into;
};

struct Corner {
    Vec3 point;
    std::vector<CornerEnd> ends;  // in segment order
    bool crossed_by_bevel = false;  // a segment with a bevel runs on through the point
    bool crossed = false;           // any segment does
};

// The faces of a corner and, per end, the indices of its two faces. Faces are told apart by the
// edge map's face index, so that two faces in one plane meeting only at the corner stay two.
struct CornerFaces {
    std::vector<const SegmentFace*> faces;
    std::vector<std::size_t> ids;
    std::vector<std::array<std::size_t, 2>> of_end;

    std::size_t index_of(const SegmentFace& face, std::size_t id);
    bool holds(std::size_t end, std::size_t face) const { return of_end[end][0] == face || of_end[end][1] == face; }
    std::size_t other_face(std::size_t end, std::size_t face) const {
        return of_end[end][0] == face ? of_end[end][1] : of_end[end][0];
    }
};

class CornerPlanner {
public:
    // `facet_label` labels the facets its pieces leave; `chosen`, for chamfer_edges, marks every
    // chosen segment, of either kind.
    CornerPlanner(const EdgeMap& map, const std::vector<std::optional<Bevel>>& bevels, const Corner& corner,
                  VertexPlan& plan, std::string facet_label, const std::vector<char>* chosen = nullptr);

    // Adds the corner's end rules and pieces to the plan, or refuses the vertex: the chamfer's
    // rules, or with `chosen` those of chamfer_edges.
    void plan();

private:
    [[noreturn]] void refuse(const std::string& reason) const;

    const Segment& segment(const CornerEnd& end) const { return map_.segments[end.segment]; }
    const Bevel& bevel(std::size_t end) const { return *bevels_[corner_.ends[end].segment]; }
    bool chosen(std::size_t end) const { return bevels_[corner_.ends[end].segment].has_value(); }
    std::size_t face_id(std::size_t face) const { return faces_.ids[face]; }
    const Plane& face_plane(std::size_t face) const { return faces_.faces[face]->plane; }
    EndRule& rule(std::size_t end);

    // The plane, or its flip, that keeps the end.
    Plane keeping(const Plane& plane, std::size_t end) const;
    // The wedge of the end stops where it meets the plane of face f; with `exposed`, its end there
    // is left as part of f (a stop), otherwise another piece covers it.
    void stop_at(std::size_t end, std::size_t f, bool exposed);
    // A bound that must already keep the end.
    void require_keeps(const Plane& plane, std::size_t end) const;
    std::vector<std::size_t> ends_of_kind(bool convex) const;
    // The three ends, convex ones first.
    std::array<std::size_t, 3> convex_ends_first() const;
    // At a reflex cap: the convex ends e1 and e2, the concave end c, the cap face they share and
    // the walls holding e1 and e2.
    struct Reflex {
        std::size_t e1, e2, c, cap, w1, w2;
    };
    Reflex reflex_cap() const;
    // The faces of ends x and y: the one they share and each one's other face.
    struct Shared {
        std::size_t common;
        std::size_t only_x;
        std::size_t only_y;
    };
    Shared shared_faces(std::size_t x, std::size_t y) const;
    bool joins(std::size_t end, std::size_t f, std::size_t g) const;
    // Where a plane (the bevel of end e) meets the line of end c, past V.
    Vec3 plane_on_line(const Plane& b, std::size_t c) const;
    Vec3 bevel_on_line(std::size_t e, std::size_t c) const { return plane_on_line(bevel(e).plane, c); }
    Vec3 meet(const Plane& p, const Plane& q, const Plane& r) const;
    // The plane through V and the concave edge between faces f and floor, with normal n̂f + n̂floor,
    // turned to keep the convex end e.
    Plane flare_plane(std::size_t f, std::size_t floor, std::size_t e) const;

    // The families, each in its own file.
    void plan_convex();
    std::optional<Vec3> bevels_on_face(std::size_t f) const;
    void add_corner_piece();
    void plan_reflex_cap();
    bool plan_crossing_bars();
    void plan_flared();
    bool plan_tripod();
    void plan_chosen();
    void plan_stop(std::size_t end);
    void plan_reflex_chosen();
    bool plan_mitre_across_concave();
    // Ends e1 and e2 stop at the plane, which parts them.
    void stop_both_at(const Plane& plane, std::size_t e1, std::size_t e2);

    const EdgeMap& map_;
    const std::vector<std::optional<Bevel>>& bevels_;
    const Corner& corner_;
    VertexPlan& plan_;
    std::string facet_label_;
    const std::vector<char>* chosen_segments_;
    CornerFaces faces_;
};

}  // namespace brevant
