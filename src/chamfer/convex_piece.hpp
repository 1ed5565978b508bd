// Convex pieces: the cells the local chamfer removes from a solid, built as a simple convex seed
// (a prism, a tetrahedron) cut down by half-spaces.
//
// Notation: a Halfspace keeps the points behind its plane (side <= 0, the plane's normal points
// out of the piece); the piece's face in that plane carries the half-space's label and role. A
// contact is a face meant to lie on a face of the solid being chamfered; it names that face by
// its index (EdgeMap::face_of). A stop is a face meant to lie in the plane of a face of the solid
// but beside it, so that the face grows by it once the piece is gone (where a bevel ends in the
// plane of a face it does not reach). A provisional face of a seed only closes the seed and must
// be cut away. Any other face is plain: a bevel, a facet, or a face shared with another piece.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "solid/solid.hpp"

namespace brevant {

enum class FaceRole { kPlain, kContact, kStop, kProvisional };

struct FaceTag {
    std::string label;
    FaceRole role;
    std::size_t face;  // for a contact or a stop: the face of the solid it lies on or beside
};

inline FaceTag labelled(std::string label) { return {std::move(label), FaceRole::kPlain, 0}; }
inline FaceTag contact(std::string label, std::size_t face) { return {std::move(label), FaceRole::kContact, face}; }
inline FaceTag stop(std::string label, std::size_t face) { return {std::move(label), FaceRole::kStop, face}; }
inline FaceTag provisional(std::string label) { return {std::move(label), FaceRole::kProvisional, 0}; }

struct Halfspace {
    Plane plane;
    FaceTag tag;
};

struct PieceFace {
    Polygon polygon;  // outward
    FaceTag tag;
};

struct Contact {
    std::size_t face;
    Polygon polygon;
};

struct ConvexPiece {
    Solid solid;                    // outward faces
    std::vector<FaceRole> roles;    // per face of `solid`
    std::vector<Contact> contacts;  // the contact faces, as in `solid`
    std::vector<Contact> stops;     // the stop faces, as in `solid`
};

// The face through `loop` (a planar convex loop), turned so that `inside` lies behind it.
PieceFace outward_face(std::vector<Vec3> loop, const Vec3& inside, FaceTag tag);

// The four outward faces of the tetrahedron with corners c; face i is the one without c[i].
std::vector<PieceFace> tetrahedron(const std::array<Vec3, 4>& c, std::array<FaceTag, 4> tags);

// The piece bounded by the faces, their roles recorded; faces without area are dropped, and a
// provisional face left fails (InternalFailure).
ConvexPiece piece_of(std::vector<PieceFace> faces);

// The seed cut by every half-space, or nothing when no volume is left. A provisional face left
// with area fails (InternalFailure): the seed did not contain the piece.
std::optional<ConvexPiece> cut_seed(std::vector<PieceFace> seed, const std::vector<Halfspace>& cuts);

}  // namespace brevant
