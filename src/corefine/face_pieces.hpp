// A face cut along where the other solid meets it, looking only at the part of the face the cuts
// reach.
//
// Notation: the cuts are segments in the face's 2D coordinates (its sections by the other solid's
// faces, and the sides of the other solid's faces in its plane). A local arrangement holds cuts and
// the face's loops that come near them; the other loops are passive: they lie outside the box of
// everything local, so in its unbounded face, except the outer loop, which may enclose it all and
// then only adds its winding there. Cuts in places apart from each other (a hole's rim and the
// next's) make clusters, each with its own local arrangement, so that a face with many holes cut
// in many places costs the sum of small arrangements, not one large one. A piece is a bounded face
// of a local arrangement lying inside the face, or the one piece of the face outside every
// cluster, which holds the passive loops and the outsides of every cluster's arrangement; its loops
// run with the piece on the left (the outer boundary counter-clockwise, holes clockwise). A
// piece's sides along the face's own boundary are listed with whether a cut lies along them, so
// that pieces of neighbouring faces can be matched there.
#pragma once

#include <optional>
#include <vector>

#include "arrangement/arrangement.hpp"
#include "corefine/body.hpp"

namespace brevant {

struct BoundarySide {
    Vec3 from, to;
    bool cut;
};

struct Piece {
    std::vector<std::vector<Point2>> loops;
    int outer = 0;               // the loop round the piece, or −1 when that is the face's passive outer loop
    bool holds_passive = false;  // the piece in the unbounded face: the passive loops are its own too
    std::vector<BoundarySide> sides;
    // A convex piece of one loop keeps it in space too (loops[0] lifted, the same order).
    bool convex = false;
    std::vector<Vec3> loop3;
};

struct FacePieces {
    std::vector<Piece> pieces;
    std::vector<LoopPtr> passive;  // the face's loops left out of every arrangement, as the face holds them
    // The local arrangements and, per arrangement, the piece of each of its cycles (−1 outside the
    // face); none when the pieces come from convex chords or the face is whole.
    std::vector<Arrangement> arrangements;
    std::vector<std::vector<int>> piece_of_cycle;
};

// The pieces of `face` cut by `cuts`: the whole face when no cut divides it, else by chords of a
// convex face (corefine/convex_cut.hpp) where they do, else by the local arrangement.
FacePieces face_pieces(const BodyFace& face, const std::vector<Segment2>& cuts);

// The pieces from the local arrangement, whatever the face and cuts (at least one cut).
FacePieces local_pieces(const BodyFace& face, const std::vector<Segment2>& cuts);

// The face as one piece, every loop of it passive.
FacePieces whole_face(const BodyFace& face);

// Loops in the face's 2D coordinates with the region on the left, in space turning like the face.
std::vector<Vec3> lift_loop(const std::vector<Point2>& loop2, const BodyFace& face);

}  // namespace brevant
