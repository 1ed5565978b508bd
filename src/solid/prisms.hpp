// Solids extruded from loops in the xy-plane.
//
// Notation: (p, z) is the point (p.x, p.y, z). A prism stands on its loop at z = 0 and reaches
// z = h; a prismatoid joins bottom point B[i] at z0 to top point T[i] at z1. Loops are turned
// counter-clockwise first (by the bottom loop's signed area), their fold-backs are taken out
// (solid/fold_backs.hpp), caps are ear-clipped, and faces are labelled prefix + ".bottom", ".top" or
// ".side" + the index of the side of the turned loop that holds the face's edge.
#pragma once

#include <string>
#include <vector>

#include "solid/solid.hpp"

namespace brevant {

// For each cap triangle its bottom then its top, then side quadrilateral i over edge p_i → p_i+1,
// for the edges that remain without fold-backs. A loop that cannot be triangulated is refused with
// a Refusal that names where it crosses itself, when it does (solid/loop_crossings.hpp).
Solid make_prism(std::vector<Point2> loop, const Rational& h, const std::string& prefix);

// The bottom cap triangles, the top cap triangles, then two triangles per side j split along
// B[j] → T[j+1], for the sides that remain where both loops fold back. Either cap that cannot be
// triangulated is refused (naming the loop); fewer top points than bottom points fail.
Solid make_prismatoid(std::vector<Point2> bottom, const Rational& z0, std::vector<Point2> top, const Rational& z1,
                      const std::string& prefix);

}  // namespace brevant
