// Solids extruded from loops in the xy-plane.
//
// Notation: (p, z) is the point (p.x, p.y, z). A prism stands on its loop at z = 0 and reaches
// z = h; a prismatoid joins bottom point B[i] at z0 to top point T[i] at z1. Loops are turned
// counter-clockwise first (by the bottom loop's signed area), caps are ear-clipped, and faces are
// labelled prefix + ".bottom", ".top" or ".side" + the side's index.
#pragma once

#include <string>
#include <vector>

#include "solid/solid.hpp"

namespace brevant {

// For each cap triangle its bottom then its top, then side quadrilateral i over edge p_i → p_i+1.
// A loop that cannot be triangulated is refused.
Solid make_prism(std::vector<Point2> loop, const Rational& h, const std::string& prefix);

// The bottom cap triangles, the top cap triangles, then two triangles per side j split along
// B[j] → T[j+1]. Either cap that cannot be triangulated is refused; fewer top points than bottom
// points fail.
Solid make_prismatoid(std::vector<Point2> bottom, const Rational& z0, std::vector<Point2> top, const Rational& z1,
                      const std::string& prefix);

}  // namespace brevant
