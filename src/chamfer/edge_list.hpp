// The edges of a solid as edges() lists them: on the merged form, each between two faces, in
// order of their end points (merged_edges.hpp).
//
// Notation: an entry names its end points and its faces' labels by index into the list's tables,
// so that a point or label shared by many edges is written once.
#pragma once

#include <string>
#include <vector>

#include "chamfer/merged_edges.hpp"

namespace brevant {

struct EdgeEntry {
    std::size_t start;  // into EdgeList::points
    std::size_t end;
    std::size_t face_a;  // into EdgeList::labels
    std::size_t face_b;
    bool convex;
};

struct EdgeList {
    std::vector<Vec3> points;
    std::vector<std::string> labels;
    std::vector<EdgeEntry> edges;
};

// The edges of the merged form, refused (Refusal "<operation>: at (x, y, z): <reason>") where the
// solid is open, more than two faces meet along an edge, or faces meet inconsistently.
MergedEdges regular_edges(const Solid& merged, const char* operation);

// The merged form's edges; a face's label is that of its polygon beside the edge's start.
EdgeList list_edges(const Solid& solid);

}  // namespace brevant
