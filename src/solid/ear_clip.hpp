// Ear clipping of loops in the xy-plane.
//
// Notation: a loop is a list of Point2, implicitly closed; orient2(o, p, q) is twice the signed
// area of the triangle o, p, q (positive when it turns counter-clockwise). An ear at vertex i is
// the triangle (v[prev], v[i], v[next]) of a strictly convex vertex that no other point blocks.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "exact/vec3.hpp"

namespace brevant {

using Triangle2 = std::array<Point2, 3>;

// Which points keep a candidate from being an ear.
enum class Blocking {
    OpenTriangle,    // points strictly inside the triangle
    ClosedTriangle,  // points in the closed triangle that are not one of its corners
};

struct EarClipping {
    std::vector<Triangle2> triangles;
    // The points left when no ear could be found; empty when the loop was used up.
    std::vector<Point2> remainder;
};

// Clips the first ear (lowest index) again and again until three points remain or no ear is left.
EarClipping clip_ears(const std::vector<Point2>& loop, Blocking blocking);

// The clipping loop for any rule: cuts the ear at the point that `first_ear` names (the triangle of
// that point and its two neighbours) and lets `after_cut` tidy the points left, again and again until
// at most three points remain or no ear is named.
EarClipping clip_ears_by(std::vector<Point2> v,
                         const std::function<std::optional<std::size_t>(const std::vector<Point2>&)>& first_ear,
                         const std::function<void(std::vector<Point2>&)>& after_cut);

// clip_ears with the open-triangle rule, keeping only the triangles.
std::vector<Triangle2> ear_clip(const std::vector<Point2>& loop);

}  // namespace brevant
