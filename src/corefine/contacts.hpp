// Where the faces of solids meet: the cuts each face needs, and the faces of other solids lying in
// its plane.
//
// Notation: for two faces whose boxes overlap, faces in one plane cut each other along their sides;
// transversal faces f and g cut each other where they meet, on the line L of their planes. That is
// f ∩ g ∩ L; the section of f by g's plane (f ∩ L) cut into g gives it exactly, and so does the
// section of g cut into f. Cutting a face more than needed only makes more pieces, so when one face
// is large the section of the smaller face serves both: it cuts the larger face exactly and the
// smaller one along all of its chord, and finding it costs only the smaller face's size.
#pragma once

#include <utility>
#include <vector>

#include "arrangement/segment_split.hpp"
#include "corefine/face_set.hpp"

namespace brevant {

struct FaceContacts {
    std::vector<Segment2> cuts;                // in the face's 2D coordinates
    std::vector<std::pair<int, int>> coplanar;  // (solid, face) of other solids' faces in its plane
};

// Per solid, per face.
using Contacts = std::vector<std::vector<FaceContacts>>;

// Adds what solids i and j meet of each other to `contacts` (sized for all solids).
void add_contacts(const std::vector<FaceSet>& solids, int i, int j, Contacts& contacts);

}  // namespace brevant
