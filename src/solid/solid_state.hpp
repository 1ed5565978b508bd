// A solid written as one text and read back as exactly the same value: every polygon's label, loop
// and plane, in order, with nothing filtered and no plane recomputed (a polygon that a transform
// collapsed, or one that kept a zero plane, comes back as it was). Used to pickle solids.
//
// Notation: the text is tokens joined by single spaces: "brevant-solid-1", the polygon count, and
// per polygon the label's length in bytes, the label itself, the vertex count n, the 3n vertex
// coordinates and the plane's normal and offset, each number in the text form n/d.
#pragma once

#include <string>
#include <string_view>

#include "solid/solid.hpp"

namespace brevant {

std::string solid_state(const Solid& solid);

// Refuses every text that solid_state cannot have written: a wrong tag, count or length, a number
// not in the text form, a polygon of fewer than three vertices, or a plane that does not hold its
// polygon or faces against its loop (later operations would trust it).
Solid solid_from_state(std::string_view state);

}  // namespace brevant
