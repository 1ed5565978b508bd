// Convex pieces cut from a box by half-spaces: the cells the local chamfer removes from a solid.
//
// Notation: a Halfspace keeps the points behind its plane (side <= 0, the plane's normal points
// out of the piece); the piece's face in that plane carries the half-space's label. A contact
// half-space is one whose face is meant to lie on a face of the solid being chamfered; it names
// that face by its index (EdgeMap::face_of).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "solid/solid.hpp"

namespace brevant {

struct Halfspace {
    Plane plane;
    std::string label;
    std::optional<std::size_t> contact;
};

struct Contact {
    std::size_t face;
    Polygon polygon;
};

struct ConvexPiece {
    Solid solid;                    // outward faces
    std::vector<Contact> contacts;  // the faces of contact half-spaces, as in `solid`
};

// The part of the bounding box of `hull` inside every half-space, or nothing when it has no
// volume. The box must contain that part: a face of the box left on the result fails
// (InternalFailure).
std::optional<ConvexPiece> clip_bounding_box(const std::vector<Vec3>& hull, const std::vector<Halfspace>& halfspaces);

}  // namespace brevant
