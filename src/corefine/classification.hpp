// Where the pieces and faces of one body lie relative to another.
//
// Notation: a piece lies outside the other body, inside it, or on its surface in a face facing the
// same way (Same) or the other way (Opposite); faces in one plane share its 2D coordinates, and
// the cuts keep a piece's inner point off their sides. Pieces joined along a stretch of their
// body's edges on which no cut lies are on the same side of the other body, since no other surface
// comes between them there: one exact test (a ray from an inner point) serves the group. Faces
// that no face of the other body comes near lie wholly on one side of it; faces sharing a point
// then lie on the same side.
#pragma once

#include <optional>
#include <vector>

#include "corefine/face_pieces.hpp"

namespace brevant {

enum class Where { Outside, Inside, Same, Opposite };

// Where a piece of `face` with inner point `inner` lies on the surface of `other`, if it lies in
// one of the faces `coplanar` of `other`.
std::optional<Where> on_surface(const BodyFace& face, const Point2& inner, const Body& other,
                                const std::vector<int>& coplanar);

// A point strictly inside the piece, in the face's 2D coordinates; `passive` are the face's
// loops the piece holds when it is the piece in the unbounded face.
Point2 piece_point(const BodyFace& face, const Piece& piece, const std::vector<LoopPtr>& passive, int attempt = 0);

// Whether the piece lies inside `other`, a body whose surface meets the piece's inside at most in
// single points: from a point inside the piece off that surface.
bool piece_inside(const BodyFace& face, const Piece& piece, const std::vector<LoopPtr>& passive, const Body& other);

// Groups of the pieces joined across uncut stretches of their body's edges, leaving out the pieces
// marked `alone`: group[p] is the same for joined pieces.
std::vector<int> piece_groups(const std::vector<const Piece*>& pieces, const std::vector<char>& alone);

// Groups of faces sharing a vertex: group[i] is the same for faces[i] and faces[j] when they do.
std::vector<int> vertex_groups(const Body& body, const std::vector<int>& faces);

}  // namespace brevant
