// The faces made of the kept pieces of a face: pieces kept side by side join again, so a face cut
// and partly kept stays one face per connected part.
//
// Notation: a region is a connected set of kept pieces (joined through sides, not single points);
// its loops are its boundary with the region on the left, the outer loop first, without vertices
// where the boundary runs straight on. The piece in the unbounded face of the local arrangement
// brings the face's passive loops: its region's outer loop is the face's own.
#pragma once

#include <vector>

#include "corefine/face_pieces.hpp"

namespace brevant {

// New faces, in the face's plane and orientation with its label, for the kept pieces (some but
// not all of them kept).
std::vector<FacePtr> kept_faces(const BodyFace& face, const FacePieces& pieces, const std::vector<char>& kept);

}  // namespace brevant
