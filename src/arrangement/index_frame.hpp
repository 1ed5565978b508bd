// Coordinates for spatial indexes (grids and trees) over the double shadows of exact points.
//
// Notation: the index point of a shadow is the shadow clamped to ±DBL_MAX (an exact value beyond
// the double range has an infinite shadow) and then, when any clamped coordinate exceeds 2^1020 in
// magnitude, scaled by 2^-4. Then every coordinate is finite and at most 2^1020, so the differences,
// sums and halves an index takes of two of them are finite too: the span of −1e308 … 1e308 no
// longer overflows. Clamping and scaling by a power of two are monotone, and so is rounding to
// nearest: whenever one exact coordinate is at most another, their index coordinates are in the
// same order, so an exact point inside an exact box has its index point inside the box of the
// corners' index points.
#pragma once

#include "arrangement/orientation.hpp"

namespace brevant {

class IndexFrame {
public:
    // The frame for shadows whose largest magnitude is `largest` (which may be infinite).
    explicit IndexFrame(double largest);
    FloatPoint operator()(const FloatPoint& shadow) const;
    double operator()(double shadow) const;

private:
    double factor_ = 1.0;
};

}  // namespace brevant
