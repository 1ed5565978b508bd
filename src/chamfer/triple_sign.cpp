#include "chamfer/triple_sign.hpp"

#include <cmath>
#include <optional>

namespace brevant {
namespace {

bool rounds_relatively(double shadow, const Rational& exact) {
    return std::isfinite(shadow) && (std::abs(shadow) >= 0x1p-1022 || (shadow == 0.0 && exact.is_zero()));
}

// With u = 2^-53 and d = h − l computed from the shadows as d̃ = fl(h̃ − l̃): each shadow is off by
// at most u relatively, so |d̃_k − d_k| <= u(|h_k| + |l_k|) + u|d̃_k| <= 2.01u·m_k with
// m_k = |h̃_k| + |l̃_k|. Each of the six terms a_i·b_j·d_k of the determinant then carries the
// shadows' error of a and b (2.01u) and of d (2.01u), relative to |a_i|·|b_j|·m_k, and its two
// products and the five additions and subtractions that follow add at most 5.01u of the sum of
// those magnitudes, P = Σ |a_i|·|b_j|·m_k: the computed determinant is within 9.1u·P of the exact
// one. P̃, computed the same way, is within 8u of P, so |det̃| > 12u·P̃ proves the sign. Below
// 2^-900 a product may lose relative precision to underflow; such P are left to the exact test.
constexpr double kBound = 12 * 0x1p-53;

std::optional<int> shadow_sign(const Shadow& a, const Shadow& b, const Shadow& h, const Shadow& l) {
    if (!a.relative || !b.relative || !h.relative || !l.relative) return std::nullopt;
    double d[3], m[3];
    for (int k = 0; k < 3; ++k) {
        d[k] = h.v[k] - l.v[k];
        m[k] = std::abs(h.v[k]) + std::abs(l.v[k]);
    }
    const auto& x = a.v;
    const auto& y = b.v;
    const double det = x[0] * (y[1] * d[2] - y[2] * d[1]) + x[1] * (y[2] * d[0] - y[0] * d[2]) +
                       x[2] * (y[0] * d[1] - y[1] * d[0]);
    const double p = std::abs(x[0]) * (std::abs(y[1]) * m[2] + std::abs(y[2]) * m[1]) +
                     std::abs(x[1]) * (std::abs(y[2]) * m[0] + std::abs(y[0]) * m[2]) +
                     std::abs(x[2]) * (std::abs(y[0]) * m[1] + std::abs(y[1]) * m[0]);
    if (!std::isfinite(p) || !std::isfinite(det) || p < 0x1p-900 || !(std::abs(det) > kBound * p)) {
        return std::nullopt;
    }
    return det > 0 ? 1 : -1;
}

}  // namespace

Shadow shadow_of(const Vec3& exact) {
    Shadow s{{exact[0].to_double(), exact[1].to_double(), exact[2].to_double()}, true};
    for (int k = 0; k < 3; ++k) s.relative = s.relative && rounds_relatively(s.v[k], exact[k]);
    return s;
}

int triple_sign(const Vec3& a, const Shadow& fa, const Vec3& b, const Shadow& fb, const Vec3& h, const Shadow& fh,
                const Vec3& l, const Shadow& fl) {
    if (const std::optional<int> fast = shadow_sign(fa, fb, fh, fl)) return *fast;
    return dot(a, cross(b, sub(h, l))).sign();
}

}  // namespace brevant
