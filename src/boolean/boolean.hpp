// Union, cut and intersect of two solids by BSP-tree clipping.
#pragma once

#include <string_view>

#include "solid/solid.hpp"

namespace brevant {

// op is "union", "cut" or "intersect" (byte for byte); anything else fails with "unknown op".
// The operands are read only.
Solid boolean_impl(std::string_view op, const Solid& a, const Solid& b);

}  // namespace brevant
