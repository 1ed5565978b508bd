// Exact signs of small linear forms, decided on machine words when the inputs allow.
#pragma once

#include "exact/vec3.hpp"

namespace brevant {

// −1, 0 or +1: the sign of normal·p − offset, always exact. When every input is inline the terms
// are brought over a common denominator in 128-bit integers, with no reduced fraction built;
// inputs that are not inline, or an overflow, fall back to Rational arithmetic. Each call is
// counted in side_test_counts() (exact/stats.hpp).
int dot_minus_sign(const Vec3& normal, const Vec3& p, const Rational& offset);

}  // namespace brevant
