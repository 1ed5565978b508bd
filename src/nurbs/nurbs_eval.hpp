// NURBS curves and tensor-product surfaces evaluated exactly, from number texts to number texts.
//
// Notation: a control point is (x, y, z) with weight w, held as the homogeneous point
// (x·w, y·w, z·w, w); the result is the evaluated homogeneous point P projected to
// (P[0]/P[3], P[1]/P[3], P[2]/P[3]). A control point given with four coordinates is therefore read
// as a homogeneous point itself. net[i][j] has u-index i and v-index j.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brevant {

using NumberTexts = std::vector<std::string>;     // one number text per entry
using NumberTexts2 = std::vector<NumberTexts>;    // control points of a curve, rows of weights
using NumberTexts3 = std::vector<NumberTexts2>;   // rows of control points of a surface

// Texts are read in this order, so that it decides which bad text is reported: the knots, every
// weight, then point by point (a point without a weight fails before its coordinates are read;
// surplus weights are ignored), then t. Absent weights are all 1.
NumberTexts nurbs_curve_eval(std::uint64_t degree, const NumberTexts2& cps, const NumberTexts& knots,
                             const std::string& t, const std::optional<NumberTexts>& weights);

// Rows first: each row is read (weight before coordinates, point by point) and evaluated as a
// curve in v before the next row is read; then the row results are evaluated as a curve in u.
// Read order: ku, kv, v, the rows, u. A missing weight row or entry fails; surplus ones are ignored.
NumberTexts nurbs_surface_eval(std::uint64_t pu, std::uint64_t pv, const NumberTexts3& net, const NumberTexts& ku,
                               const NumberTexts& kv, const std::string& u, const std::string& v,
                               const std::optional<NumberTexts2>& weights);

}  // namespace brevant
