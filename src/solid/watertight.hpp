// Closedness of a polygon soup: every stretch of every side must be matched by sides running the
// other way along the same line. Sides are grouped by line key, so T-junctions (one long side
// against several shorter ones) are matched by coverage, not end to end.
#pragma once

#include "solid/solid.hpp"

namespace brevant {

// True when, on every line, each stretch between consecutive side ends is covered by as many
// sides running along the line as against it. Sides of zero length are ignored.
bool watertight_ok(const Solid& solid);

}  // namespace brevant
