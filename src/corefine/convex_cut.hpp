// A convex face cut by chords, without an arrangement: the common case of a face of a box or of a
// prism's side crossed by the other solid's faces.
//
// Notation: a cut either misses the face's interior (touching it at most along its boundary, where
// the stretch it covers is marked cut) or crosses it from side to side, splitting every convex
// piece it runs through in two along the chord. A cut that ends inside the face is not handled,
// unless the cuts are few: then every piece its line crosses is split along the whole line, which
// divides the face more than needed (pieces side by side there lie on the same side of the other
// solid) but never wrongly.
#pragma once

#include <optional>

#include "corefine/face_pieces.hpp"

namespace brevant {

// The pieces of a convex face of one loop cut by `cuts`, or nothing when the face is not convex, has
// holes, or one of many cuts ends inside it.
std::optional<std::vector<Piece>> convex_cut(const BodyFace& face, const std::vector<Segment2>& cuts);

}  // namespace brevant
