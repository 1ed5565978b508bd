#include <gtest/gtest.h>

#include <random>

#include "corefine/convex_cut.hpp"
#include "corefine/point_location.hpp"
#include "corefine/section.hpp"

namespace brevant {
namespace {

Vec3 pt(long x, long y, long z) { return {Rational(x), Rational(y), Rational(z)}; }
Point2 p2(long x, long y) { return {Rational(x), Rational(y)}; }

// A face in the plane z = 0 (counter-clockwise seen from +z) from its loops, the outer one first.
FacePtr face_of(std::vector<std::vector<Vec3>> loops) {
    const Plane plane{{Rational(), Rational(), Rational(1)}, Rational()};
    const auto frame = std::make_shared<const PlaneFrame>(PlaneFrame::of(plane));
    std::vector<LoopPtr> made;
    for (std::vector<Vec3>& loop : loops) made.push_back(make_loop(std::move(loop), *frame));
    return make_face(plane, frame, "f", std::move(made));
}
FacePtr face_of(std::vector<Vec3> loop) { return face_of(std::vector<std::vector<Vec3>>{std::move(loop)}); }

Plane x_plane(long x) { return {{Rational(1), Rational(), Rational()}, Rational(x)}; }

std::vector<std::pair<Vec3, Vec3>> section_at(const FacePtr& f, long x) {
    const Plane q = x_plane(x);
    return closed_section(*f, q, plane_f64(q));
}

TEST(ClosedSection, CrossesANonConvexFaceInSeveralStretches) {
    // A U: the line x = 1 runs through both arms and the base between them.
    const FacePtr u = face_of({pt(0, 0, 0), pt(3, 0, 0), pt(3, 3, 0), pt(2, 3, 0), pt(2, 1, 0), pt(1, 1, 0), pt(1, 3, 0),
                            pt(0, 3, 0)});
    const auto along_x1 = section_at(u, 1);  // along the inner side of the left arm: the whole height
    ASSERT_EQ(along_x1.size(), 1u);
    const auto mid = [&] {
        const Plane q{{Rational(0), Rational(1), Rational()}, Rational(2)};  // y = 2 crosses both arms
        return closed_section(*u, q, plane_f64(q));
    }();
    // Ordered along L = n_face × n_plane = (−1, 0, 0): right arm first.
    ASSERT_EQ(mid.size(), 2u);
    EXPECT_EQ(mid[0], std::make_pair(pt(3, 2, 0), pt(2, 2, 0)));
    EXPECT_EQ(mid[1], std::make_pair(pt(1, 2, 0), pt(0, 2, 0)));
}

TEST(ClosedSection, KeepsSidesLyingOnThePlaneAndDropsTouchingPoints) {
    const FacePtr square = face_of({pt(0, 0, 0), pt(2, 0, 0), pt(2, 2, 0), pt(0, 2, 0)});
    const auto side = section_at(square, 2);
    ASSERT_EQ(side.size(), 1u);  // along L = (0, 0, 1) × (1, 0, 0) = (0, 1, 0)
    EXPECT_EQ(side[0], std::make_pair(pt(2, 0, 0), pt(2, 2, 0)));
    EXPECT_TRUE(section_at(square, 3).empty());
    const FacePtr diamond = face_of({pt(1, 0, 0), pt(2, 1, 0), pt(1, 2, 0), pt(0, 1, 0)});
    EXPECT_TRUE(section_at(diamond, 2).empty());  // touches at the vertex (2, 1) only
}

TEST(PointLocation, WindingNumbersAndPointsOnTheLoop) {
    const std::vector<Point2> square{p2(0, 0), p2(2, 0), p2(2, 2), p2(0, 2)};
    EXPECT_EQ(winding_number(square, p2(1, 1)), 1);
    EXPECT_EQ(winding_number(std::vector<Point2>(square.rbegin(), square.rend()), p2(1, 1)), -1);
    EXPECT_EQ(winding_number(square, p2(3, 1)), 0);
    EXPECT_FALSE(winding_number(square, p2(2, 1)).has_value());
    EXPECT_FALSE(winding_number(square, p2(0, 0)).has_value());
}

TEST(PointLocation, InteriorPointAvoidsHolesAndReflexCorners) {
    // A square with a square hole whose corner comes close to the outer square's lowest corner.
    const std::vector<std::vector<Point2>> loops{{p2(0, 0), p2(10, 0), p2(10, 10), p2(0, 10)},
                                                 {p2(1, 1), p2(1, 9), p2(9, 9), p2(9, 1)}};
    const Point2 q = interior_point({&loops[0], nullptr, false}, {{&loops[1], nullptr, false}});
    EXPECT_EQ(winding_number(loops[0], q).value_or(0) + winding_number(loops[1], q).value_or(0), 1);
    EXPECT_TRUE(winding_number(loops[1], q).has_value());
    // An L whose lowest corner's neighbours see across the notch.
    const std::vector<Point2> l{p2(0, 0), p2(4, 0), p2(4, 1), p2(1, 1), p2(1, 4), p2(0, 4)};
    EXPECT_EQ(winding_number(l, interior_point({&l, nullptr, false}, {})), 1);
}

}  // namespace
}  // namespace brevant

namespace brevant {
namespace {

// A piece's outer loop without straight-on corners, starting at its least point: two cutters that
// split a face alike give equal lists of these.
std::vector<Point2> normal_form(const std::vector<Point2>& loop) {
    std::vector<Point2> corners;
    const std::size_t n = loop.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (!orient2(loop[(i + n - 1) % n], loop[i], loop[(i + 1) % n]).is_zero()) corners.push_back(loop[i]);
    }
    std::rotate(corners.begin(), std::min_element(corners.begin(), corners.end()), corners.end());
    return corners;
}

std::vector<std::vector<Point2>> normal_forms(const std::vector<Piece>& pieces, const std::vector<LoopPtr>& passive = {}) {
    std::vector<std::vector<Point2>> forms;
    for (const Piece& p : pieces) {
        // A face no cut divides comes back whole, its loop left as the face holds it.
        const std::vector<Point2>& loop = p.loops.empty() ? passive.at(0)->points2 : p.loops[0];
        EXPECT_EQ(p.loops.size() + (p.loops.empty() ? passive.size() : 0), 1u);
        forms.push_back(normal_form(loop));
    }
    std::sort(forms.begin(), forms.end());
    return forms;
}

// The chord cutter against the general arrangement on random convex faces and random cuts that
// cross them, run along their sides, or miss them.
TEST(ConvexCut, AgreesWithTheArrangement) {
    std::mt19937 rng(11);
    int compared = 0;
    for (int trial = 0; trial < 300; ++trial) {
        const long w = 2 + rng() % 6, h = 2 + rng() % 6;
        const FacePtr face = face_of({pt(0, 0, 0), pt(w, 0, 0), pt(w, h, 0), pt(0, h, 0)});
        std::vector<Segment2> cuts;
        for (int k = 0; k < 1 + static_cast<int>(rng() % 3); ++k) {
            const long x0 = static_cast<long>(rng() % (w + 3)) - 1, x1 = static_cast<long>(rng() % (w + 3)) - 1;
            if (rng() % 2) {
                cuts.push_back({p2(x0, -1), p2(x1, h + 1), kConstraint});  // from below to above: crosses
            } else {
                const long y = static_cast<long>(rng() % (h + 1));
                cuts.push_back({p2(-1, y), p2(w + 1, y), kConstraint});  // horizontal, possibly along a side
            }
        }
        const std::optional<std::vector<Piece>> fast = convex_cut(*face, cuts);
        const FacePieces local = local_pieces(*face, cuts);
        ASSERT_TRUE(fast.has_value());
        EXPECT_EQ(normal_forms(*fast), normal_forms(local.pieces, local.passive));
        ++compared;
    }
    EXPECT_EQ(compared, 300);
}

// A few cuts split the face along their whole lines, even where one ends inside it; among many,
// one that ends inside sends the face to the arrangement, where a dangling cut divides nothing.
TEST(ConvexCut, FewCutsRunOnAlongTheirLinesManyGoToTheArrangement) {
    const FacePtr face = face_of({pt(0, 0, 0), pt(4, 0, 0), pt(4, 4, 0), pt(0, 4, 0)});
    const Segment2 dangling{p2(-1, 2), p2(2, 2), kConstraint};
    const std::optional<std::vector<Piece>> few = convex_cut(*face, {dangling});
    ASSERT_TRUE(few.has_value());
    EXPECT_EQ(normal_forms(*few), (std::vector<std::vector<Point2>>{{p2(0, 0), p2(4, 0), p2(4, 2), p2(0, 2)},
                                                                    {p2(0, 2), p2(4, 2), p2(4, 4), p2(0, 4)}}));
    std::vector<Segment2> many{dangling};
    for (long k = 1; k <= 6; ++k) many.push_back({p2(3, -k), p2(3, 4 + k), kConstraint});  // one chord, six ways
    EXPECT_FALSE(convex_cut(*face, many).has_value());
    EXPECT_EQ(face_pieces(*face, many).pieces.size(), 2u);
}

}  // namespace
}  // namespace brevant

namespace brevant {
namespace {

Rational power_of_two(int e) {
    Rational r(1);
    for (int i = 0; i < (e < 0 ? -e : e); ++i) r = r * Rational(2);
    return e < 0 ? Rational(1) / r : r;
}

int faces_along(const FaceTree& tree, const Vec3& origin, const std::array<long, 3>& d) {
    int visits = 0;
    tree.along_ray({origin[0].to_double(), origin[1].to_double(), origin[2].to_double()},
                   {static_cast<double>(d[0]), static_cast<double>(d[1]), static_cast<double>(d[2])},
                   [&](int) { ++visits; });
    return visits;
}

// Rays cast from far away (their origin rounded to doubles, so off by up to half an ulp of a large
// number) through small boxes: a box the exact ray meets, even at a corner or along an edge, is never
// skipped; and at moderate distances a box the ray clearly misses is not reported.
TEST(FaceTree, RaysFromFarAwayNeverSkipABoxTheyMeet) {
    std::mt19937_64 rng(17);
    std::uniform_int_distribution<long> small(-4, 4), coord(0, 8), dir(-120, 120);
    for (int e : {10, 40, 47, 53, 60, 100, 500, 1000}) {
        for (int trial = 0; trial < 1000; ++trial) {
            const Rational size = power_of_two(-static_cast<int>(rng() % 40));
            const Vec3 lo{Rational(small(rng)), Rational(small(rng)), Rational(small(rng))};
            const Vec3 hi = add(lo, {size, size, size});
            // A point of the closed box, often on its boundary: 0 and 8 eighths are its faces.
            Vec3 p;
            for (int a = 0; a < 3; ++a) p[a] = lo[a] + size * Rational(rng() % 2 ? coord(rng) : 8 * (rng() % 2)) / Rational(8);
            std::array<long, 3> d{dir(rng), dir(rng), dir(rng)};
            if (d == std::array<long, 3>{0, 0, 0}) d[0] = 1;
            const Vec3 dv{Rational(d[0]), Rational(d[1]), Rational(d[2])};
            const FaceTree tree({widened_box({to_float_vertex(lo), to_float_vertex(hi)})});
            EXPECT_EQ(faces_along(tree, sub(p, smul(power_of_two(e), dv)), d), 1) << "scale 2^" << e;
            if (e <= 40) {
                // A parallel ray 3 or more away from one through the box (of diameter at most √3).
                Vec3 w = cross(dv, {Rational(1), Rational(), Rational()});
                if (w[0].is_zero() && w[1].is_zero() && w[2].is_zero()) w = cross(dv, {Rational(), Rational(1), Rational()});
                const Vec3 beside = add(p, smul(Rational(3), w));
                EXPECT_EQ(faces_along(tree, sub(beside, smul(power_of_two(e), dv)), d), 0) << "scale 2^" << e;
            }
        }
    }
}

}  // namespace
}  // namespace brevant
