// The winding numbers of the faces of an arrangement, per owner.
//
// Notation: the winding of owner k at a point is the sum of the turns that owner's closed chains
// of segments make round it; crossing half-edge h from its right to its left adds the weights along
// h. The unbounded face winds zero. A component nested in a face is placed by a ray from its least
// vertex (smallest x, then smallest y) towards −x: the first edge hit belongs to a component placed
// earlier, since its points lie further left.
#pragma once

#include "arrangement/arrangement.hpp"

namespace brevant {

struct FaceWindings {
    std::vector<Weights> winding;  // per cycle: the windings of the face left of it
    std::vector<int> enclosing;    // per cycle: for a component's outside cycle, a cycle of the face
                                   // the component lies in; −1 for the unbounded face and other cycles
};

FaceWindings face_windings(const Arrangement& a);

}  // namespace brevant
