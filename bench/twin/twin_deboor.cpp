// De Boor on homogeneous points in doubles, with the span rules and the in-place triangle of
// src/nurbs; curves and surfaces project by the last coordinate as the exact evaluation does.
#include <array>
#include <vector>

#include "twin.h"

namespace {

using HPoint = std::array<double, 4>;

int knot_span(int p, const double* knots, int n, double t) {
    if (t >= knots[n]) return n - 1;
    if (t <= knots[p] || n - p < 2) return p;
    int lo = p, hi = n;
    while (hi - lo > 1) {
        const int mid = lo + (hi - lo) / 2;
        if (t < knots[mid]) {
            hi = mid;
        } else {
            lo = mid;
        }
    }
    return lo;
}

HPoint deboor_h(int p, const double* knots, const std::vector<HPoint>& points, double t) {
    const int n = static_cast<int>(points.size());
    const int k = knot_span(p, knots, n, t);
    std::vector<HPoint> d(points.begin() + (k - p), points.begin() + (k + 1));
    for (int r = 1; r <= p; ++r) {
        for (int j = p; j >= r; --j) {
            const double lo = knots[k - p + j];
            const double den = knots[k + 1 + j - r] - lo;
            const double alpha = den == 0.0 ? 0.0 : (t - lo) / den;
            const double beta = 1.0 - alpha;
            for (int c = 0; c < 4; ++c) d[j][c] = beta * d[j - 1][c] + alpha * d[j][c];
        }
    }
    return d[p];
}

HPoint homogeneous(const double* xyz, double w) { return {xyz[0] * w, xyz[1] * w, xyz[2] * w, w}; }

void project(const HPoint& p, double* out) {
    for (int c = 0; c < 3; ++c) out[c] = p[c] / p[3];
}

}  // namespace

extern "C" void twin_curve_eval(int degree, int n, const double* cps, const double* weights, int /*nk*/,
                                const double* knots, int nt, const double* ts, double* out) {
    for (int i = 0; i < nt; ++i) {
        // The exact evaluation builds its homogeneous points afresh for every call; so does this.
        std::vector<HPoint> points;
        points.reserve(n);
        for (int j = 0; j < n; ++j) points.push_back(homogeneous(cps + 3 * j, weights[j]));
        project(deboor_h(degree, knots, points, ts[i]), out + 3 * i);
    }
}

extern "C" void twin_surface_eval(int pu, int pv, int rows, int cols, const double* net, const double* weights,
                                  int /*nku*/, const double* ku, int /*nkv*/, const double* kv, int np,
                                  const double* uv, double* out) {
    for (int i = 0; i < np; ++i) {
        std::vector<HPoint> row_points;
        row_points.reserve(rows);
        for (int r = 0; r < rows; ++r) {
            std::vector<HPoint> row;
            row.reserve(cols);
            for (int c = 0; c < cols; ++c) row.push_back(homogeneous(net + 3 * (r * cols + c), weights[r * cols + c]));
            row_points.push_back(deboor_h(pv, kv, row, uv[2 * i + 1]));
        }
        project(deboor_h(pu, ku, row_points, uv[2 * i]), out + 3 * i);
    }
}
