// The edges of a closed polygon soup as stretches of lines, each between two faces and either
// convex or concave, and the faces as connected regions of one oriented plane.
//
// Notation: along a line with canonical direction D a point X has the parameter t = X·D. The
// sides of all polygons on the line cut it into stretches between consecutive side ends; a
// stretch covered by exactly one side of each of two planes, running opposite ways, is an edge
// stretch. It is convex when the solid lies behind both planes there (face A behind plane B),
// concave otherwise. Consecutive edge stretches with the same two planes and the same kind form
// one Segment; the stretch ends inside it are its joints. A face is a set of polygons in one
// oriented plane joined through shared sides.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "solid/solid.hpp"

namespace brevant {

struct SegmentFace {
    Plane plane;          // outward
    std::size_t polygon;  // a polygon of the face with a side on the segment
};

struct Segment {
    Vec3 start;  // smaller t
    Vec3 end;
    Vec3 dir;  // D
    bool convex;
    SegmentFace a;
    SegmentFace b;
    std::vector<Vec3> joints;
};

// A stretch where the solid is not a closed two-sided surface, and why.
struct Irregularity {
    Vec3 point;
    std::string reason;
};

struct EdgeMap {
    std::vector<Segment> segments;  // in line key order, then along each line
    std::vector<std::size_t> face_of;  // per polygon: the index of its face
    std::size_t face_count = 0;
    std::optional<Irregularity> irregular;  // the first one found
};

EdgeMap map_edges(const Solid& solid);

}  // namespace brevant
