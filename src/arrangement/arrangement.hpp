// The planar arrangement of a set of segments: its vertices, edges, and the cycles that bound its
// faces, all exact.
//
// Notation: edge e joins two vertices through two half-edges: 2e runs from the edge's lower-numbered
// vertex to its higher-numbered one, 2e + 1 back, and twin(h) = h ^ 1. A half-edge has a face on
// its left. At each vertex the outgoing half-edges are kept in counter-clockwise order of direction,
// starting from the direction (1, 0). next(h) continues the boundary of the face left of h: at h's
// end it takes the first outgoing half-edge clockwise from twin(h). The orbits of next are cycles:
// a bounded face has one counter-clockwise outer cycle (positive area) and one clockwise cycle for
// each component of the arrangement nested in it; each component's outside is a clockwise cycle.
// Weights: an edge carries the weights of the segment piece lying on it, counted along 2e.
#pragma once

#include <vector>

#include "arrangement/segment_split.hpp"

namespace brevant {

struct Arrangement {
    std::vector<Point2> points;
    std::vector<int> origin;         // per half-edge
    std::vector<int> next;           // per half-edge
    std::vector<int> cycle;          // per half-edge
    std::vector<Weights> weights;    // per edge, along its even half-edge
    std::vector<char> constrained;   // per edge: a constraint segment lies on it
    std::vector<int> rotation_start; // per vertex, and one past the last: its range in `rotation`
    std::vector<int> rotation;       // outgoing half-edges, vertex by vertex, counter-clockwise
    std::vector<int> rotation_index; // per half-edge: its place in `rotation`
    std::vector<int> cycle_first;    // per cycle: one of its half-edges
    std::vector<Rational> cycle_area2;  // per cycle: twice its signed area

    static int twin(int h) { return h ^ 1; }
    int dest(int h) const { return origin[h ^ 1]; }
    int edge_count() const { return static_cast<int>(weights.size()); }
    int cycle_count() const { return static_cast<int>(cycle_first.size()); }
    // The weights along h: those of its edge, negated for an odd half-edge.
    Weights weights_along(int h) const;
    // The outgoing half-edge just clockwise of the outgoing half-edge h.
    int clockwise(int h) const;
    Point2 direction(int h) const;
};

Arrangement build_arrangement(const std::vector<Segment2>& segments);

// The outgoing half-edge at `vertex` whose left face holds the directions just counter-clockwise
// of it up to the next outgoing half-edge, among them `direction` (which no half-edge there takes).
int wedge_containing(const Arrangement& a, int vertex, const Point2& direction);

// Whether direction u comes before direction v counter-clockwise from (1, 0).
bool angle_less(const Point2& u, const Point2& v);

}  // namespace brevant
