// The chamfer's refusals (raised to Python as ValueError).
#pragma once

#include <string>

#include "exact/vec3.hpp"

namespace brevant {

[[noreturn]] void refuse_negative_distance();
[[noreturn]] void refuse_too_large();
// "chamfer: cannot resolve the vertex at (x, y, z): <reason>", integers written without "/1".
[[noreturn]] void refuse_vertex(const Vec3& vertex, const std::string& reason);
// (x, y, z) as the refusals write points.
std::string refusal_point_text(const Vec3& point);

}  // namespace brevant
