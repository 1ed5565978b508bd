// The sign of a triple product, decided from double shadows where they prove it.
//
// Notation: a shadow is a vector's components rounded to the nearest doubles; it is relative
// when every component is zero exactly or rounds to a normal double (no overflow, no underflow),
// so that each shadow component is within a relative 2^-53 of the exact one.
#pragma once

#include "exact/vec3.hpp"

namespace brevant {

struct Shadow {
    std::array<double, 3> v;
    bool relative;
};

Shadow shadow_of(const Vec3& exact);

// The sign of a · (b × (h − l)), exact.
int triple_sign(const Vec3& a, const Shadow& fa, const Vec3& b, const Shadow& fb, const Vec3& h, const Shadow& fh,
                const Vec3& l, const Shadow& fl);

}  // namespace brevant
