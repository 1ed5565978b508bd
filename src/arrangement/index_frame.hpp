// Coordinates for spatial indexes (grids and trees) over exact points of the plane.
//
// Notation: an index coordinate is a coordinate times 2^s, rounded to the nearest double, where s
// is the same for every point of one index: 0 while every shadow is finite and at most 2^1020 in
// magnitude, −4 while they are finite, and otherwise (some coordinate beyond the double range,
// its shadow infinite) low enough to bring every coordinate below 2^1019. Every index coordinate is
// then finite and at most 2^1020, so the differences, sums and halves an index takes of two of them
// are finite too: the span of −1e308 … 1e308 no longer overflows, and points beyond the double range
// keep apart. Rounding to nearest and scaling by a power of two are monotone, so whenever one exact
// coordinate is at most another their index coordinates are in the same order: an exact point
// inside an exact box has its index point inside the box of the corners' index points. An index
// coordinate is within 2^-53 of the scaled exact one, relative, plus 2^-1074 where it is subnormal.
#pragma once

#include <climits>

#include "arrangement/orientation.hpp"

namespace brevant {

class IndexFrame {
public:
    // Takes one more point of the index into account, given with its shadow.
    void include(const Point2& p, const FloatPoint& shadow);
    // The index point of any point, given with its shadow, once every point of the index is in;
    // likewise one coordinate.
    FloatPoint operator()(const Point2& p, const FloatPoint& shadow) const;
    double operator()(const Rational& x, double shadow) const;

private:
    double largest_ = 0.0;     // of the shadows' magnitudes
    long beyond_ = LONG_MIN;  // the largest magnitude exponent of a coordinate with an infinite shadow
};

}  // namespace brevant
