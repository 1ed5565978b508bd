// Where the faces of two bodies meet: the cuts each face needs, and the faces of the other body
// lying in its plane.
//
// Notation: for two faces whose boxes overlap, faces in one plane cut each other along their sides;
// transversal faces f and g cut each other where they meet, on the line L of their planes. That is
// f ∩ g ∩ L; the section of f by g's plane (f ∩ L) cut into g gives it exactly, and so does the
// section of g cut into f. Cutting a face more than needed only makes more pieces, so when one face
// is large the section of the smaller face serves both: it cuts the larger face exactly and the
// smaller one along all of its chord, and finding it costs only the smaller face's size.
#pragma once

#include <vector>

#include "arrangement/segment_split.hpp"
#include "corefine/body.hpp"

namespace brevant {

struct FaceContacts {
    std::vector<Segment2> cuts;  // in the face's 2D coordinates
    std::vector<int> coplanar;   // faces of the other body in its plane
};

// Per face of each body; a face that meets nothing has no entry.
struct Contacts {
    std::vector<int> touched_a, touched_b;  // the faces with an entry, in order of first contact
    std::vector<int> slot_a, slot_b;        // per face: its entry in `of_a` / `of_b`, or −1
    std::vector<FaceContacts> of_a, of_b;

    const FaceContacts* a(int face) const { return slot_a[face] < 0 ? nullptr : &of_a[slot_a[face]]; }
    const FaceContacts* b(int face) const { return slot_b[face] < 0 ? nullptr : &of_b[slot_b[face]]; }
};

Contacts find_contacts(const Body& a, const Body& b);

}  // namespace brevant
