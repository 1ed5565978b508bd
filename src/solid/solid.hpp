// Solids: an ordered list of polygons, built through Solid::make, which drops degenerate ones.
//
// Box corners: 0 (0,0,0), 1 (dx,0,0), 2 (dx,dy,0), 3 (0,dy,0) form the bottom ring counter-
// clockwise seen from above; 4 … 7 lie above them at z = dz. Faces, in order, by corner loop:
// bottom 0321, top 4567, front 0154, back 2376, right 1265, left 3047.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "solid/polygon.hpp"

namespace brevant {

using VectorMap = std::function<Vec3(const Vec3&)>;

struct Solid {
    std::vector<Polygon> polygons;
    // Set only by the merge (merge/merged.hpp) on its result: the polygons are the solid's merged
    // form, so merging again may hand them back as they are. Code that changes polygons in place
    // must clear it; every operation that builds a new solid leaves it false.
    bool merged_form = false;

    // The non-degenerate polygons, in order.
    static Solid make(std::vector<Polygon> polygons);
    static Solid cube(const Rational& dx, const Rational& dy, const Rational& dz, const std::string& prefix);

    // Every vertex mapped by `point`, shadows recomputed, nothing filtered, loops kept in order.
    // Each plane is carried: `normal` must map a normal as the cofactor matrix of the point map's
    // linear part does (exact/affine.hpp), so that the carried plane faces the way the mapped loop
    // runs. The plane through the first three mapped points is taken where it faces that way, so
    // that planes come out as they always did where those points define them.
    Solid mapped(const VectorMap& point, const VectorMap& normal) const;
    // Every polygon flipped, order kept.
    Solid flipped() const;
};

// The box face table applied to eight given corners, with faces named b, t, f, k, r, l.
Solid parallelepiped(const std::array<Vec3, 8>& corners, const std::string& prefix);

}  // namespace brevant
