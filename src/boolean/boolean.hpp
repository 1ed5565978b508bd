// Union, cut and intersect of two solids by BSP-tree clipping.
#pragma once

#include <string_view>

#include "solid/solid.hpp"

namespace brevant {

// op is "union", "cut" or "intersect" (byte for byte); anything else fails with "unknown op".
// The operands are taken by value: a caller done with one hands it over with std::move and saves
// the copy.
Solid boolean_impl(std::string_view op, Solid a, Solid b);

}  // namespace brevant
