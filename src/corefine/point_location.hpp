// Exact point location in the plane and in space.
//
// Notation: a loop turns counter-clockwise round a point with winding +1; a face's winding round a
// point of its plane is the sum over its loops (turn inside the face, 0 outside it). Shadow boxes
// only ever skip loops and faces that exact geometry would skip too.
#pragma once

#include <optional>
#include <vector>

#include "corefine/body.hpp"

namespace brevant {

// The winding number of the closed loop round p; nothing when p lies on the loop.
std::optional<int> winding_number(const std::vector<Point2>& loop, const Point2& p);

// The winding of the face's loops round p, a point of its plane; nothing when p lies on one.
std::optional<int> face_winding(const BodyFace& face, const Point2& p);

// A loop in 2D with the region on the left, and the box of its shadows when known (loops without
// one are always looked at).
struct LoopView {
    const std::vector<Point2>* points;
    const Box2* box;
    bool reversed;  // the region lies on its right as stored
};

// A point strictly inside the region bounded by `outer` (turning counter-clockwise round it) and
// the other loops (turning clockwise round its holes). Successive `attempt`s give other points of
// the same region, all different, on a segment inside it.
// A convex outer loop alone needs no look at other points: `convex` says so.
Point2 interior_point(const LoopView& outer, const std::vector<LoopView>& others, int attempt = 0, bool convex = false);

// A point strictly inside a region, straight below `w`, the lowest vertex of one of the region's
// inner loops (round something the region surrounds): half way (or, by `attempt`, closer) down to
// the first point of any loop below it. Nothing when a loop passes through w or nothing lies below.
// Only loops whose boxes reach under w are looked at, so a region with many holes costs the holes
// in w's column.
std::optional<Point2> point_below(const Point2& w, const std::vector<LoopView>& loops, int attempt = 0);

// Whether x lies on the surface of the body: in the closed region of one of its faces.
bool on_body_surface(const Body& body, const Vec3& x);

// Whether x, a point on no face of the body, lies inside it, by the winding of the faces round x
// along a ray. Rays that graze an edge or a vertex, or run in a face's plane, are given up for the
// next of a list of directions: eight fixed ones, then pseudo-random integer directions.
bool inside_body(const Body& body, const Vec3& x);

}  // namespace brevant
