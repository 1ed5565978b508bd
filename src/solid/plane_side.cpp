#include "solid/plane_side.hpp"

#include <cmath>

namespace brevant {
namespace {

// Why h > bound proves that the exact H = N·V − W is positive (and h < −bound that it is
// negative), where N, W are the exact plane, V the exact vertex, and nx … w, x … z their nearest
// doubles. Let u = 2^-53, px = fl(nx·x) and so on, S = |px| + |py| + |pz| + |w|. Every double
// operation rounds with relative error at most u; a product that underflows adds an absolute
// error of at most 2^-1075 (a sum that underflows is exact).
// - Inputs: |Nx − nx| <= u·|nx| + 2^-1075, likewise for X, Y, Z, W. When h is finite every
//   product and input is finite, so below 2^1024, and the absolute parts contribute at most
//   about 2·2^-1075·2^1024 = 2^-50 to |Nx·X − nx·x|; the relative parts (2u + u²)·|nx·x|.
// - Products: |px − nx·x| <= u·|nx·x| + 2^-1075. With |nx·x| <= (|px| + 2^-1075)/(1 − u), each
//   term is within 3.01u·|px| + 1.01·2^-50 of Nx·X; W is within u·|w| + 2^-1075 of w.
// - Sums: the three roundings of ((px + py) + pz) − w move h by at most 3.01u·S.
// So |h − H| <= 6.02u·S + 3.03·2^-50 + 2^-1074 < 6.1u·S + 0.76·2^-48.
// The bound is computed with four additions of non-negative terms, each losing at most a factor
// (1 − u), and an exact scaling by 2^-48 = 32u (the result stays normal since it is >= 2^-48),
// so bound >= (1 − 4u)·(S + 1)·32u > 31u·S + 0.99·2^-48 > |h − H|. Hence h > bound gives
// H > h − |h − H| > 0, and symmetrically for h < −bound. An infinite or NaN h (or bound) leaves
// both comparisons false or is caught first, so the exact test decides.
constexpr double kSideBoundScale = 0x1p-48;

}  // namespace

PlaneF64 plane_f64(const Plane& plane) {
    return {plane.normal[0].to_double(), plane.normal[1].to_double(), plane.normal[2].to_double(),
            plane.offset.to_double()};
}


int vertex_side(const Plane& plane, const PlaneF64& f, const FloatVertex& v, const Vec3& exact) {
    const double px = f.nx * v[0];
    const double py = f.ny * v[1];
    const double pz = f.nz * v[2];
    const double h = ((px + py) + pz) - f.w;
    if (!std::isfinite(h)) return plane.side(exact);
    const double bound = ((((std::fabs(px) + std::fabs(py)) + std::fabs(pz)) + std::fabs(f.w)) + 1.0) * kSideBoundScale;
    if (h > bound) return 1;
    if (h < -bound) return -1;
    return plane.side(exact);
}

}  // namespace brevant
