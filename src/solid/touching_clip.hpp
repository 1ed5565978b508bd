// Ear clipping of loops that touch themselves without crossing: two squares meeting at a corner,
// a hole pinched onto the outline at one point, a notch whose tip rests on another edge.
//
// Notation: a pass of the loop through a point X is one visit to it, with the directions to the
// points before and after. The loop is first refined so that every touch is a visit (a point lying
// inside another edge splits that edge). An ear whose corner the loop visits again is cut only when
// no other pass through that corner points strictly into it, and every cut is followed by taking
// out the fold-backs that it leaves (a cut at a pinch leaves a spike).
#pragma once

#include <vector>

#include "solid/ear_clip.hpp"

namespace brevant {

EarClipping clip_touching_ears(const std::vector<Point2>& loop);

}  // namespace brevant
