// The one evaluation kernel of the NURBS subsystem: de Boor's algorithm on homogeneous points.
//
// Notation: p is the degree, n the number of control points, k the knot span (the index with
// knots[k] <= t < knots[k + 1] inside the range), D the working dimension (the length of control
// point 0; (x·w, y·w, z·w, w) in practice, so D = 4). A weight is only the last coordinate here:
// the kernel never divides by it, its only divisions are by differences of knots.
#pragma once

#include <cstdint>
#include <vector>

#include "exact/rational.hpp"

namespace brevant {

using HPoint = std::vector<Rational>;

// The point of the degree-p B-spline with these knots and control points at t, with D coordinates
// (coordinates of a control point beyond D are ignored). Parameters outside the knot range evaluate
// the polynomial of the first or last span. Fails with InternalFailure("index out of range: ...")
// when there are no control points, n <= p, a knot it needs is missing, or a control point in use
// is shorter than control point 0. Knots are not checked for order; coinciding knots are no failure.
HPoint deboor_h(std::uint64_t p, const std::vector<Rational>& knots, const std::vector<HPoint>& control_points,
                const Rational& t);

}  // namespace brevant
