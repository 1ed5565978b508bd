// Hand-built solids for the chamfer tests.
#pragma once

#include "solid/solid.hpp"

namespace brevant::testing_shapes {

inline Vec3 pt(const Rational& x, const Rational& y, const Rational& z) { return {x, y, z}; }

inline Polygon face(std::vector<Vec3> loop) { return Polygon::make(std::move(loop), "t.f"); }

// The prism over the right triangle (0,0), (1,0), (0,1), from z = 0 to z = 1, faces outward. Its
// slanted face has the normal (1, 1, 0), whose length is not rational.
inline Solid right_triangle_prism() {
    const Vec3 a0 = pt(0, 0, 0), b0 = pt(1, 0, 0), c0 = pt(0, 1, 0);
    const Vec3 a1 = pt(0, 0, 1), b1 = pt(1, 0, 1), c1 = pt(0, 1, 1);
    return Solid::make({face({a0, c0, b0}), face({a1, b1, c1}), face({a0, b0, b1, a1}), face({b0, c0, c1, b1}),
                        face({c0, a0, a1, c1})});
}

// A square pyramid over (0..4)² with apex (2, 2, 1): its slanted edges run along (±2, ±2, 1),
// of length 3.
inline Solid square_pyramid() {
    const Vec3 b0 = pt(0, 0, 0), b1 = pt(4, 0, 0), b2 = pt(4, 4, 0), b3 = pt(0, 4, 0), apex = pt(2, 2, 1);
    return Solid::make({face({b0, b3, b2, b1}), face({b0, b1, apex}), face({b1, b2, apex}), face({b2, b3, apex}),
                        face({b3, b0, apex})});
}

}  // namespace brevant::testing_shapes
