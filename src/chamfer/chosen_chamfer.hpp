// The chamfer of chosen edges by true distances (chamfer_edges): convex edges bevelled, concave
// edges filled, on the merged form.
//
// Notation: the edges are those of edges() (edge_list.hpp), numbered in its order; faces A and B
// of an edge are its faces[0] and faces[1]. The bevel meets face A at dA and face B at dB from the
// edge, measured in the face perpendicular to the edge (bevel.hpp). A concave edge is filled: the
// complement of the solid is chamfered there, so the same pieces, built on the complement's edge
// map (every plane turned, convex and concave swapped), are added to the solid instead of taken
// away. Vertices are resolved as plan_chosen_vertices (vertex_rules.hpp) describes.
#pragma once

#include "corefine/body.hpp"
#include <cstdint>
#include <optional>
#include <vector>

#include "solid/solid.hpp"

namespace brevant {

// An edge named by its index in the edge list, or else by its two end points (in either order).
struct EdgeChoice {
    std::optional<std::int64_t> index;
    Vec3 start;
    Vec3 end;
};

// The solid with the chosen edges chamfered (nothing chosen: every convex edge), in merged form.
// Bevels are labelled "bevel(A,B)", fills "fill(A,B)" after their faces' labels, facets as the
// vertex rules say. Refusals (ValueError), in this order: a negative distance; one distance zero
// and the other not; an edge list that is not that of a closed surface (as edges()); an index out
// of range or end points that no edge has; a vertex it cannot resolve (the least one, by point);
// distances too large for the solid. Both distances zero return the merged form. `body`, when
// given, is the solid as the engine holds it (cut_away.hpp).
Solid chamfer_edges(const Solid& solid, const std::optional<std::vector<EdgeChoice>>& edges, const Rational& dist_a,
                    const Rational& dist_b, const Body* body = nullptr);

}  // namespace brevant
