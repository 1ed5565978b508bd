// How the local chamfer resolves the vertices where convex edges end.
//
// Notation: at a vertex V each edge end has the direction `into` from V along its segment. The
// wedge of a convex segment is the prism behind its two faces and in front of its bevel (the
// side holding the edge). Near each end the wedge keeps its part inside one of the end rule's
// alternatives (lists of half-spaces; the alternatives do not overlap). A rule's bounds are the
// planes where the wedge stops, each oriented so that V + into lies behind it. Vertex pieces are
// removed besides the wedges. The vertices resolved:
//  - convex: every edge convex, k >= 3 edges and k faces. Each wedge stops at the faces that do
//    not hold its edge and at the bevels of the ends listed before it, so wedges do not overlap.
//    With three edges the corner piece between the bevels' common point Y and the facet through
//    the three points Z where two bevels meet a face is removed too, when the facet separates Y
//    from V (as on every corner of a box).
//  - reflex cap: two convex edges on a cap face T, one concave edge between their other faces W1
//    and W2 (the corner of an L-shaped prism's top inside the L). Each wedge stops at the other
//    wall's plane. The bevels must meet the concave edge at one point p; the piece behind T, W1
//    and W2 on V's side of the facet through p, a1 and a2 is removed, where a1 (a2) is where the
//    bevel of the edge on W1 (W2) meets T and the plane of W2 (W1).
//  - flared: one convex edge with faces A and B, two concave edges, on A and on B, meeting a
//    face F (a pillar standing on a floor). φA is the plane through the concave edge on A with
//    normal n̂A + n̂F, φB likewise; the wedge is removed only where it lies on the edge's side of
//    φA or of φB, so it flares out into F.
//  - crossing bars: two convex edges, each running on through V as a concave edge (one bar lying
//    across another); see plan_crossing_bars.
//  - three bars: three convex and three concave edges in turn (the inside corner where three
//    bars meet); see plan_tripod.
// For solids whose faces are axis-aligned these are the shapes of the morphological opening by
// the octahedron of radius dist, and they are all the shapes a vertex of such a solid can have
// where two faces meet along each edge. Any other vertex where a convex edge ends is refused.
#pragma once

#include <vector>

#include "chamfer/bevel.hpp"
#include "chamfer/convex_piece.hpp"

namespace brevant {

struct EndRule {
    std::vector<Plane> bounds;
    std::vector<std::vector<Halfspace>> alternatives;
};

struct VertexPiece {
    std::vector<PieceFace> seed;
    std::vector<Halfspace> cuts;
};

struct VertexPlan {
    std::vector<EndRule> at_start;  // per segment; empty rules for concave segments
    std::vector<EndRule> at_end;
    std::vector<VertexPiece> pieces;
};

// `bevels[i]` is the bevel of segment i when it is convex. A vertex it cannot resolve is refused
// (refuse_vertex), whatever the distance; vertices are taken in byte order of their point texts.
VertexPlan plan_vertices(const EdgeMap& map, const std::vector<std::optional<Bevel>>& bevels);

// For chamfer_edges, on the edge map of a merged solid (or of its complement, where the concave
// edges to fill are convex). `bevels[i]` is set for the chosen segments that are convex in `map`,
// `chosen[i]` for every chosen segment of either kind. Vertices are taken in point order, and:
//  - a chosen edge ending beside unchosen ones stops in the plane of the face there that does not
//    hold it (a vertex of three edges), or at the faces that do not hold it (every edge convex),
//    and two chosen bevels there meet in a mitre (each stops at the other's plane);
//  - where every edge is chosen, or every convex one (the concave ones stay sharp), the rules
//    above apply, except that at a post's foot the bevel stops at the floor instead of flaring;
//  - a vertex where chosen convex and concave edges meet is refused, and so is any other mix.
// Facets are labelled "corner(l1,l2,...)" after the labels of the faces around their vertex.
VertexPlan plan_chosen_vertices(const EdgeMap& map, const std::vector<std::optional<Bevel>>& bevels,
                                const std::vector<char>& chosen, const Solid& solid);

}  // namespace brevant
