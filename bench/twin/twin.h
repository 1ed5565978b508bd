// The double-precision twin of the exact pipeline, for the benchmark only: the same box faces,
// split, BSP tree and boolean recipes, and the same de Boor kernel, on doubles with a fixed
// epsilon. It is the floor the exact code is measured against, never a source of results.
//
// Notation: a box is (ex, ey, ez, tx, ty, tz), extents from the origin then a translation;
// op is 0 union, 1 cut, 2 intersect. Every function reports the six-fold volume of its solid and
// writes its polygon count to *polygons.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

double twin_box_boolean(const double* box_a, const double* box_b, int op, int* polygons);
// The box `slab` minus each of the n boxes in `cuts` (6 doubles each), one after the other.
double twin_sequential_cuts(const double* slab, int n, const double* cuts, int* polygons);

// Points of a rational curve: cps holds n points (x, y, z), weights n weights, knots nk knots;
// out receives 3 doubles for each of the nt parameters.
void twin_curve_eval(int degree, int n, const double* cps, const double* weights, int nk, const double* knots,
                     int nt, const double* ts, double* out);
// Points of a rational surface of rows × cols control points (row-major, 3 doubles each) with one
// weight per point; out receives 3 doubles for each of the np pairs (u, v) in uv.
void twin_surface_eval(int pu, int pv, int rows, int cols, const double* net, const double* weights, int nku,
                       const double* ku, int nkv, const double* kv, int np, const double* uv, double* out);

#ifdef __cplusplus
}
#endif
