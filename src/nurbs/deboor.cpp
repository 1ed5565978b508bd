#include "nurbs/deboor.hpp"

#include <algorithm>
#include <string>

#include "exact/failure.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

const Rational& knot_at(const std::vector<Rational>& knots, std::uint64_t i) {
    if (i >= knots.size()) {
        throw InternalFailure("index out of range: knot " + std::to_string(i) + " of a knot vector of " +
                              std::to_string(knots.size()));
    }
    return knots[i];
}

// The span rules, in an order that matters: the end of the range belongs to the last span, the
// start (and anything before it, or a curve of a single span) to span p, and an interior knot
// value to the span on its right. The bisection goes right on equality for that last reason.
// n < p + 2 is written so that it cannot wrap for a degree near 2^64.
std::uint64_t knot_span(std::uint64_t p, const std::vector<Rational>& knots, std::uint64_t n, const Rational& t) {
    if (t >= knot_at(knots, n)) return n - 1;
    if (t <= knot_at(knots, p) || n <= p || n - p < 2) return p;
    std::uint64_t lo = p;
    std::uint64_t hi = n;
    while (hi - lo > 1) {
        const std::uint64_t mid = lo + (hi - lo) / 2;
        if (t < knots[mid]) {
            hi = mid;
        } else {
            lo = mid;
        }
    }
    return lo;
}

// Control points k - p ... k, each cut to D coordinates. Checked before anything is allocated, so
// that a degree far beyond the number of control points fails at once.
std::vector<HPoint> copy_span_points(std::uint64_t p, std::uint64_t k, const std::vector<HPoint>& control_points,
                                     std::size_t dimension) {
    if (k < p || k >= control_points.size()) {
        throw InternalFailure("index out of range: degree " + std::to_string(p) + " needs more than " +
                              std::to_string(control_points.size()) + " control points");
    }
    std::vector<HPoint> d;
    d.reserve(p + 1);
    for (std::uint64_t i = k - p; i <= k; ++i) {
        const HPoint& point = control_points[i];
        d.emplace_back(point.begin(), point.begin() + static_cast<std::ptrdiff_t>(std::min(point.size(), dimension)));
    }
    return d;
}

void require_dimension(const HPoint& point, std::size_t dimension) {
    if (point.size() < dimension) {
        throw InternalFailure("index out of range: a control point has " + std::to_string(point.size()) +
                              " coordinates, the first has " + std::to_string(dimension));
    }
}

}  // namespace

HPoint deboor_h(std::uint64_t p, const std::vector<Rational>& knots, const std::vector<HPoint>& control_points,
                const Rational& t) {
    if (control_points.empty()) throw InternalFailure("index out of range: no control points");
    const std::size_t dimension = control_points[0].size();
    const std::uint64_t n = control_points.size();
    const std::uint64_t k = knot_span(p, knots, n, t);
    std::vector<HPoint> d = copy_span_points(p, k, control_points, dimension);

    // Level r overwrites d[j] from the top down, so d[j - 1] still holds level r - 1 when it is read.
    for (std::uint64_t r = 1; r <= p; ++r) {
        for (std::uint64_t j = p; j >= r; --j) {
            poll_interrupt();  // the triangle is quadratic in the degree, its numbers grow with it
            const Rational& hi_knot = knot_at(knots, k + 1 + j - r);
            const Rational& lo_knot = knot_at(knots, k - p + j);
            const Rational den = hi_knot - lo_knot;
            const Rational alpha = den.is_zero() ? Rational(0) : (t - lo_knot) / den;
            const Rational beta = Rational(1) - alpha;
            require_dimension(d[j - 1], dimension);
            require_dimension(d[j], dimension);
            HPoint blended(dimension);
            for (std::size_t c = 0; c < dimension; ++c) blended[c] = beta * d[j - 1][c] + alpha * d[j][c];
            d[j] = std::move(blended);
        }
    }
    return std::move(d[p]);
}

}  // namespace brevant
