// Normal forms of directions.
//
// Notation: canon_dir(v) is the primitive integer vector along ±v whose first nonzero component
// is positive (one per line direction); unit_dir(v) is v/|v| when |v| is rational.
#pragma once

#include <optional>

#include "exact/vec3.hpp"

namespace brevant {

// Empty for the zero vector.
std::optional<Vec3> canon_dir(const Vec3& v);
// Empty when |v|² is not the square of a rational; the zero vector fails (division by zero).
std::optional<Vec3> unit_dir(const Vec3& v);

}  // namespace brevant
