// Labels as merging gives them. A face of the merged form takes the label covering most of its
// area, so where one region of a plane holds faces of several labels, merging may give some of
// its points a label other than their face's. Operations that hand their result on as an operand
// replace such planes by their merged faces, so that every later piece carries the label the
// merged form of this result would give it.
#pragma once

#include <vector>

#include "corefine/body.hpp"

namespace brevant {

// Replaces the faces of each plane of `changed` (given by one face in it) that holds more than one
// label by the merged faces of that plane; every plane with several labels when `changed` is empty.
// Whether it replaced any.
bool merge_mixed_planes(std::vector<FacePtr>& faces, const std::vector<const BodyFace*>& changed, bool every_plane);

}  // namespace brevant
