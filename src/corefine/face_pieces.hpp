// A face cut along where the other solid meets it.
//
// Notation: the cuts are segments in the face's 2D coordinates (its sections by the other solid's
// faces, and the sides of the other solid's faces in its plane). A piece is a face of the
// arrangement of the face's loop and its cuts that lies inside the loop; its loops run like the
// face's (outer boundary and holes). Its sides along the face's own boundary are listed with
// whether a cut lies along them, so that pieces of neighbouring faces can be matched there.
#pragma once

#include <vector>

#include "arrangement/segment_split.hpp"
#include "corefine/face_set.hpp"

namespace brevant {

struct BoundarySide {
    Vec3 from, to;
    bool cut;
};

struct Piece {
    int face;
    // In the face's 2D coordinates, with the piece on the left: the outer boundary turns
    // counter-clockwise, holes clockwise.
    std::vector<std::vector<Point2>> loops;
    std::vector<BoundarySide> sides;  // its sides on the face's own boundary
};

// A point strictly inside the piece, in the face's 2D coordinates.
Point2 inner_point(const Piece& piece);

// The piece's loops in space, turning like its face.
std::vector<std::vector<Vec3>> loops_in_space(const Piece& piece, const Face& face);

// The pieces of face `index` of `faces`: the whole face when there are no cuts, else by chords of a
// convex face (corefine/convex_cut.hpp) where they do, else by the arrangement.
std::vector<Piece> face_pieces(const FaceSet& faces, int index, const std::vector<Segment2>& cuts);

// The pieces from the arrangement of the face's loop and its cuts, whatever they are.
std::vector<Piece> arrangement_pieces(const FaceSet& faces, int index, const std::vector<Segment2>& cuts);

}  // namespace brevant
