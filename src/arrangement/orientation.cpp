#include "arrangement/orientation.hpp"

#include <algorithm>
#include <cmath>

namespace brevant {

FloatPoint shadow(const Point2& p) { return {p[0].to_double(), p[1].to_double()}; }

// Why |h| > bound proves the sign of the exact H = (B − A) × (C − A). Let u = 2^-53 and M the
// largest shadow coordinate in magnitude. Each shadow is the nearest double to the exact value, so
// it is within u·|exact| <= 1.01u·M of it (gradual underflow only adds 2^-1075, covered below).
// The steps below assume that no operation overflows; a finite h shows that none did, since an
// infinite difference or product leaves h infinite or NaN (∞·x is ∞ or NaN, ∞ − y is ∞ or NaN).
// With coordinates near 2^512 a difference nears 2^513 and a product 2^1026 while M² is still
// finite: h is then infinite and decides nothing.
// - Differences: fl(bx − ax) is within u·2.02M of bx − ax, which is within 2.02u·M of Bx − Ax:
//   |d − D| <= 4.05u·M, with |d| <= 2.03M.
// - Products: |fl(d1·d2) − D1·D2| <= |d1||d2 − D2| + |D2||d1 − D1| + u|d1·d2|
//   <= 2.03M·4.05uM + 2.04M·4.05uM + 4.13uM² < 20.6u·M².
// - h = fl(p1 − p2) adds u·|p1 − p2| <= u·8.3M²: |h − H| < 49.5u·M² + 2^-1070 in all.
// bound = M²·2^-46 = 128u·M² (M² exact in its rounding to within u) exceeds that whenever M² is a
// normal number above 2^-900, which the test demands; otherwise the exact test decides.
int orient_sign(const Point2& a, const Point2& b, const Point2& c, const FloatPoint& fa, const FloatPoint& fb,
                const FloatPoint& fc) {
    const double m = std::max({std::fabs(fa[0]), std::fabs(fa[1]), std::fabs(fb[0]), std::fabs(fb[1]),
                               std::fabs(fc[0]), std::fabs(fc[1])});
    const double m2 = m * m;
    if (std::isfinite(m2) && m2 > 0x1p-900) {
        const double h = (fb[0] - fa[0]) * (fc[1] - fa[1]) - (fb[1] - fa[1]) * (fc[0] - fa[0]);
        const double bound = m2 * 0x1p-46;
        if (std::isfinite(h)) {
            if (h > bound) return 1;
            if (h < -bound) return -1;
        }
    }
    return orient2(a, b, c).sign();
}

}  // namespace brevant
