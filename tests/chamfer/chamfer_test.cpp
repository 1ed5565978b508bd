#include <gtest/gtest.h>

#include <set>

#include "chamfer/chamfer.hpp"
#include "chamfer_shapes.hpp"
#include "solid/measures.hpp"
#include "solid/watertight.hpp"

namespace brevant {
namespace {

using testing_shapes::pt;

TEST(Chamfer, UnitCubeCornerBecomesTheDiagonalFacet) {
    const Solid result = std::get<Solid>(chamfer(Solid::cube(1, 1, 1, "p"), Rational(1, 10)));
    EXPECT_EQ(volume6(result), Rational(709, 125));
    EXPECT_TRUE(watertight_ok(result));

    // At the corner (1,1,1) the facet is the triangle x + y + z = 14/5 between the three bevels,
    // facing out of the cube; it comes from the corner cutter's facet, flipped by the cut.
    const Rational n(9, 10);
    std::set<Vec3> found;
    for (const Polygon& p : result.polygons) {
        if (p.plane.canonical() != PlaneKey{5, 5, 5, 14}) continue;
        EXPECT_GT(p.plane.normal[0], Rational(0));
        EXPECT_EQ(p.label, "corner.a");
        found.insert(p.vertices.begin(), p.vertices.end());
    }
    EXPECT_EQ(found, (std::set<Vec3>{pt(1, n, n), pt(n, 1, n), pt(n, n, 1)}));
}

}  // namespace
}  // namespace brevant
