// The edges of a solid in merged form, found by matching polygon sides vertex to vertex: what
// edges() lists and what chamfer_edges() works on.
//
// Notation: points compare by x, then y, then z. Merged polygons meet vertex to vertex (no
// T-junctions), so on a closed solid each side u→v of a polygon is met by exactly one side v→u of
// another. Two such sides in one plane, facing the same way, join their polygons into one face (a
// face with holes is split into a few polygons); in different planes they are a stretch of edge
// between two faces. A stretch runs from its lesser end S to its greater E; its face a is the
// one whose loop runs from S to E, face b the one whose loop runs from E to S. Consecutive
// stretches between the same faces a and b lie on the one line where their planes meet and form
// one segment; the points between them are its joints.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "chamfer/edge_map.hpp"

namespace brevant {

struct MergedEdges {
    EdgeMap map;
    std::vector<Vec3> points;                        // every vertex, in point order
    std::vector<std::array<std::uint32_t, 2>> ends;  // per segment: its start and end in `points`
};

// The segments in order of (start, end), each Segment::a and Segment::b naming the polygon beside
// its first stretch; Segment::dir is left zero (see add_directions). `irregular` is the least point
// (with its reason) where a side is met by no side (the solid is open), by more than one (more than
// two faces meet), by a side running the same way, or by a face in its plane facing the other way.
MergedEdges find_merged_edges(const Solid& merged);

// A segment of find_merged_edges as its ends in `points` and the polygons beside its first stretch.
struct SegmentOutline {
    std::uint32_t start;
    std::uint32_t end;
    std::uint32_t poly_a;
    std::uint32_t poly_b;
    bool convex;
};

struct EdgeOutline {
    std::vector<Vec3> points;  // every vertex, in point order
    std::vector<SegmentOutline> segments;
    std::optional<Irregularity> irregular;
};

// The segments of find_merged_edges without their planes and joints: enough to list them, at a
// fraction of the memory.
EdgeOutline outline_merged_edges(const Solid& merged);

// Sets every segment's canonical direction D.
void add_directions(EdgeMap& map);

// a before b in point order.
bool point_less(const Vec3& a, const Vec3& b);

}  // namespace brevant
