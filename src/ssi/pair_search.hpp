// Subdivision pair search between two patches.
//
// Notation: a pair is (a, b), a piece of the first patch and b of the second. A level halves both
// patches of every surviving pair into quarters and keeps the pairs of quarters whose bounding
// boxes meet (touching boxes meet). A row of the result is the eight texts
// a.u0, a.u1, a.v0, a.v1, b.u0, b.u1, b.v0, b.v1.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ssi/rpatch.hpp"

namespace brevant {

struct ParamBox {
    Rational u0, u1, v0, v1;
};

// (0, 1, 0, 1).
ParamBox unit_param_box();
// u0, u1, v0, v1 read from the first four texts in order; with fewer, fails at the first missing one.
ParamBox parse_param_box(const std::vector<std::string>& texts);

// The pairs surviving `depth` levels, grouped by the pair they came from, then by the quarter of a,
// then by the quarter of b. With depth 0 the nets are not looked at. With depth >= 1 a homogeneous
// net whose weights have both signs is refused (its control points no longer bound the surface),
// net a checked first.
std::vector<std::vector<std::string>> ssi_pairs(RPatch a, RPatch b, std::uint64_t depth);

}  // namespace brevant
