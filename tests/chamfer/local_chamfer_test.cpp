// The local chamfer's internals: edge segments and faces, convex pieces from seeds.
#include <gtest/gtest.h>

#include "boolean/boolean.hpp"
#include "chamfer/bevel.hpp"
#include "chamfer/convex_piece.hpp"
#include "chamfer/edge_map.hpp"
#include "chamfer_shapes.hpp"
#include "exact/direction.hpp"
#include "exact/failure.hpp"
#include "solid/measures.hpp"
#include "solid/prisms.hpp"
#include "solid/transforms.hpp"

namespace brevant {
namespace {

using testing_shapes::pt;

Solid l_prism() {
    return make_prism({{0, 0}, {4, 0}, {4, 1}, {1, 1}, {1, 3}, {0, 3}}, Rational(2), "L");
}

std::size_t count_convex(const EdgeMap& map, bool convex) {
    std::size_t n = 0;
    for (const Segment& s : map.segments) n += s.convex == convex ? 1 : 0;
    return n;
}

TEST(EdgeMap, LPrismHasOneConcaveEdgeAndEightFaces) {
    const EdgeMap map = map_edges(l_prism());
    EXPECT_FALSE(map.irregular.has_value());
    EXPECT_EQ(count_convex(map, true), 17u);  // two rings of six and five vertical edges
    EXPECT_EQ(count_convex(map, false), 1u);
    for (const Segment& s : map.segments) {
        if (!s.convex) {
            EXPECT_EQ(s.start, pt(1, 1, 0));
            EXPECT_EQ(s.end, pt(1, 1, 2));
        }
    }
    EXPECT_EQ(map.face_count, 8u);  // the ear-clipped caps are one face each
}

TEST(EdgeMap, FragmentedFacesJoinAndTheirSeamsAreJoints) {
    // Two cubes face to face: the long edges run across the seam at x = 1 (a joint, not a
    // vertex), and the pieces of each long face are one face.
    const Solid cube = Solid::cube(1, 1, 1, "a");
    const Solid pair = boolean_impl("union", cube, translated(cube, pt(1, 0, 0)));
    const EdgeMap map = map_edges(pair);
    EXPECT_EQ(map.segments.size(), 12u);
    EXPECT_EQ(count_convex(map, true), 12u);
    EXPECT_EQ(map.face_count, 6u);
    std::size_t with_joint = 0;
    for (const Segment& s : map.segments) with_joint += s.joints.empty() ? 0 : 1;
    EXPECT_EQ(with_joint, 4u);
}

TEST(EdgeMap, EdgeSharedByFourFacesIsIrregular) {
    const Solid cube = Solid::cube(1, 1, 1, "a");
    const Solid pair = boolean_impl("union", cube, translated(cube, pt(1, 1, 0)));
    const EdgeMap map = map_edges(pair);
    ASSERT_TRUE(map.irregular.has_value());
    EXPECT_EQ(map.irregular->reason, "more than two faces meet along an edge there");
}

// A face's unit normal, along an axis (taken directly) or not (from the canonical quadruple), is
// the exact unit vector along its normal wherever that has a rational length.
TEST(Bevel, FaceUnitNormalsAreTheExactUnitNormalsWhereThoseExist) {
    const std::vector<Vec3> normals{pt(0, 0, 5),  pt(0, Rational(-1, 3), 0), pt(7, 0, 0), pt(3, 4, 0),
                                    pt(0, -6, 8), pt(2, -1, 2),              pt(-4, 4, 2)};
    for (const Vec3& n : normals) {
        for (const Rational& scale : {Rational(1), Rational(-2, 7), Rational(1208925819614629174L, 3)}) {
            const Plane plane{smul(scale, n), Rational(3)};
            EXPECT_EQ(face_unit_normal(plane), unit_dir(plane.normal));
        }
    }
}

TEST(ConvexPiece, TetrahedronCutByAPlaneKeepsItsTagsAndClosesTheCut) {
    const std::array<Vec3, 4> corners{pt(0, 0, 0), pt(2, 0, 0), pt(0, 2, 0), pt(0, 0, 2)};
    const std::vector<PieceFace> seed =
        tetrahedron(corners, {labelled("t.slant"), contact("t.x", 0), contact("t.y", 1), contact("t.z", 2)});
    EXPECT_EQ(volume6(cut_seed(seed, {})->solid), Rational(8));

    // z <= 1 leaves the frustum of volume 8/6 − 1/6 = 7/6, closed by a face labelled "t.cut".
    const Halfspace below{{pt(0, 0, 1), Rational(1)}, labelled("t.cut")};
    const std::optional<ConvexPiece> piece = cut_seed(seed, {below});
    ASSERT_TRUE(piece.has_value());
    EXPECT_EQ(volume6(piece->solid), Rational(7));
    std::vector<std::string> labels;
    for (const Polygon& p : piece->solid.polygons) labels.push_back(p.label);
    EXPECT_NE(std::find(labels.begin(), labels.end(), "t.cut"), labels.end());
    ASSERT_EQ(piece->contacts.size(), 3u);
    for (const Contact& c : piece->contacts) EXPECT_LT(c.face, 3u);

    // Cut past the seed: nothing left.
    const Halfspace beyond{{pt(0, 0, 1), Rational(-1)}, labelled("t.cut")};
    EXPECT_FALSE(cut_seed(seed, {beyond}).has_value());
}

TEST(ConvexPiece, ProvisionalFaceLeftOnThePieceFails) {
    const std::array<Vec3, 4> corners{pt(0, 0, 0), pt(1, 0, 0), pt(0, 1, 0), pt(0, 0, 1)};
    // The face without corner 1 lies in x = 0.
    const std::vector<PieceFace> seed =
        tetrahedron(corners, {labelled("t.a"), provisional("t.end"), labelled("t.c"), labelled("t.d")});
    EXPECT_THROW(cut_seed(seed, {}), InternalFailure);
    // x + y + z <= 1/2 cuts the provisional face x = 0 down to a triangle, which is still left.
    EXPECT_THROW(cut_seed(seed, {{{pt(1, 1, 1), Rational(1, 2)}, labelled("t.cut")}}), InternalFailure);
    // x >= 1/2 cuts it away.
    const std::optional<ConvexPiece> corner = cut_seed(seed, {{{pt(-1, 0, 0), Rational(-1, 2)}, labelled("t.cut")}});
    ASSERT_TRUE(corner.has_value());
    EXPECT_EQ(volume6(corner->solid), Rational(1, 8));
}

}  // namespace
}  // namespace brevant
