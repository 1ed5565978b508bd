// Where the pieces of one solid lie relative to other solids.
//
// Notation: a piece lies outside another solid, inside it, or on its surface in a face facing the
// same way (Same) or the other way (Opposite); faces in one plane share its 2D coordinates, and
// the cuts keep a piece's inner point off their sides. Pieces joined along a stretch of their own
// solid's edges on which no cut lies are on the same side of every other solid, since no other
// surface comes between them there: one exact test (a ray from an inner point) serves the group.
#pragma once

#include <optional>
#include <vector>

#include "corefine/contacts.hpp"
#include "corefine/face_pieces.hpp"

namespace brevant {

enum class Where { Outside, Inside, Same, Opposite };

// Where piece p of solid `own` lies on the surface of solid `other`, if it lies in one of its faces.
std::optional<Where> on_surface(const std::vector<FaceSet>& solids, const Contacts& contacts, int own, const Piece& p,
                                int other);

// A point strictly inside piece p of solid `own`, in space.
Vec3 inner_point_in_space(const std::vector<FaceSet>& solids, int own, const Piece& p);

// Whether x, a point on no face of solid `other`, lies inside it.
bool point_inside(const FaceSet& other, const Vec3& x);

// Groups of the pieces joined across uncut stretches of their solid's edges, leaving out the
// pieces marked `alone`: group[p] is the same for joined pieces.
std::vector<int> piece_groups(const std::vector<Piece>& pieces, const std::vector<char>& alone);

}  // namespace brevant
