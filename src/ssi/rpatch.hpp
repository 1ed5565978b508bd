// Rational tensor-product Bézier patches: exact halving and bounding boxes.
//
// Notation: net[i][j] is the control point with u-index i and v-index j (n rows of m points);
// D is the number of coordinates of net[0][0]. D = 3: Cartesian points (x, y, z). Any other D:
// homogeneous points (x·w, y·w, z·w, w, …) with the weight w in coordinate 3. [u0, u1] × [v0, v1]
// is the parameter box the patch covers in its surface; it labels the patch and never enters the
// geometry. Halving is de Casteljau's algorithm at parameter 1/2 on all D coordinates alike, which
// is exact rational subdivision for homogeneous points.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "exact/rational.hpp"
#include "exact/vec3.hpp"

namespace brevant {

using ControlPoint = std::vector<Rational>;
using ControlRow = std::vector<ControlPoint>;
using ControlNet = std::vector<ControlRow>;

// The texts of a net: rows of points of number texts.
using NetTexts = std::vector<std::vector<std::vector<std::string>>>;

// The lowest and highest corner of the control points in Cartesian form.
struct BoundingBox {
    Vec3 lo;
    Vec3 hi;
};

struct RPatch {
    ControlNet net;
    Rational u0, u1, v0, v1;

    // Each row cut at its curve's midpoint: (left halves, right halves), one of each per row.
    // An empty row, or an averaged point with fewer than d coordinates, fails.
    static std::pair<std::vector<ControlRow>, std::vector<ControlRow>> split_rows(const std::vector<ControlRow>& rows,
                                                                                  std::size_t d);

    // The quarters over [u0, um] × [v0, vm], [u0, um] × [vm, v1], [um, u1] × [v0, vm], [um, u1] × [vm, v1],
    // in that order. Fails on an empty net or first row, a row shorter than the first, or a point
    // too short to average. Points beyond the first row's length are dropped.
    static std::array<RPatch, 4> split4(const RPatch& patch);
    // The same, taking the control points from the patch instead of copying them.
    static std::array<RPatch, 4> split4(RPatch&& patch);

    // Exact box of the control points, each projected by its weight when D != 3. Fails on an empty
    // net or first row, a point too short for the projection, or a zero weight.
    static BoundingBox bbox(const RPatch& patch);
};

// Every text read with parse_r, in order; ragged shapes are kept as they are.
ControlNet parse_net(const NetTexts& texts);

}  // namespace brevant
