// Polygons: construction, doubled area, the degenerate filter (double fast accept, exact decision)
// and flipping; Solid::make and Solid::mapped.
#include <cmath>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "exact/failure.hpp"
#include "solid/solid.hpp"

namespace brevant {
namespace {

Rational R(const std::string& text) { return parse_r(text); }
Vec3 V(const std::string& x, const std::string& y, const std::string& z) { return {R(x), R(y), R(z)}; }

void expect_same(const Polygon& a, const Polygon& b) {
    EXPECT_EQ(a.vertices, b.vertices);
    EXPECT_EQ(a.float_vertices, b.float_vertices);
    EXPECT_EQ(a.label, b.label);
    EXPECT_EQ(a.plane.normal, b.plane.normal);
    EXPECT_EQ(a.plane.offset, b.plane.offset);
}

TEST(PolygonMake, PlaneFromFirstThreeAndNearestDoubles) {
    const Polygon p = Polygon::make({V("0", "0", "1"), V("2", "0", "1"), V("2", "1/3", "1"), V("0", "1", "1")}, "s.f");
    EXPECT_EQ(p.plane.normal, V("0", "0", "2/3"));
    EXPECT_EQ(p.plane.offset, R("2/3"));
    ASSERT_EQ(p.float_vertices.size(), 4u);
    EXPECT_EQ(p.float_vertices[2], (FloatVertex{2.0, 1.0 / 3.0, 1.0}));
    EXPECT_EQ(p.label, "s.f");
    EXPECT_THROW(Polygon::make({}, "x"), InternalFailure);
    EXPECT_THROW(Polygon::make({V("0", "0", "0"), V("1", "0", "0")}, "x"), InternalFailure);
}

TEST(PolygonArea2, SquaredDoubledVectorArea) {
    EXPECT_THROW(Polygon::area2({}), InternalFailure);
    EXPECT_EQ(Polygon::area2({V("1", "2", "3")}), R("0"));
    EXPECT_EQ(Polygon::area2({V("1", "2", "3"), V("4", "5", "6")}), R("0"));
    EXPECT_EQ(Polygon::area2({V("0", "0", "0"), V("2", "0", "0"), V("0", "3", "0")}), R("36"));
    EXPECT_EQ(Polygon::area2({V("0", "0", "0"), V("1", "0", "0"), V("1", "1", "0"), V("0", "1", "0")}), R("4"));
    // N = (1, 1, 1) for the triangle cutting the three axes at 1.
    EXPECT_EQ(Polygon::area2({V("1", "0", "0"), V("0", "1", "0"), V("0", "0", "1")}), R("3"));
}

// Twelve vertices along the diagonal, out to (6, 6) and back: no area, and past the length up to
// which the double test is a proof for any loop.
std::vector<Vec3> twelve_there_and_back() {
    std::vector<Vec3> loop;
    for (long i = 0; i < 7; ++i) loop.push_back(V(std::to_string(i) + "/7", std::to_string(i) + "/7", "1/3"));
    for (long i = 5; i > 0; --i) loop.push_back(V(std::to_string(i) + "/7", std::to_string(i) + "/7", "1/3"));
    return loop;
}

// The same walk with one vertex of the way back bent off the diagonal by a hair.
std::vector<Vec3> twelve_bent() {
    std::vector<Vec3> loop = twelve_there_and_back();
    loop[8][0] += R("1/1000000000000000000000");
    return loop;
}

const std::string e100 = "1" + std::string(100, '0');
const std::string e200 = "1" + std::string(200, '0');

TEST(PolygonDegenerate, DecidedByExactArea) {
    const struct {
        const char* name;
        std::vector<Vec3> loop;
        bool degenerate;
    } rows[] = {
        {"collinear", {V("0", "0", "0"), V("1", "1", "1"), V("3", "3", "3")}, true},
        {"coincident", {V("1/3", "0", "0"), V("1/3", "0", "0"), V("1/3", "0", "0")}, true},
        {"triangle", {V("0", "0", "0"), V("1", "0", "0"), V("0", "1", "0")}, false},
        {"collinear start encloses area",
         {V("0", "0", "0"), V("1", "0", "0"), V("2", "0", "0"), V("2", "1", "0"), V("0", "1", "0")},
         false},
        {"there and back", {V("0", "0", "0"), V("1", "2", "0"), V("2", "4", "0"), V("1", "2", "0")}, true},
        {"legs 1/10^5", {V("0", "0", "0"), V("1/100000", "0", "0"), V("0", "1/100000", "0")}, false},
        {"legs 1/10^100", {V("0", "0", "0"), V("1/" + e100, "0", "0"), V("0", "0", "1/" + e100)}, false},
        {"unit area at 10^8",
         {V("100000000", "100000000", "0"), V("100000001", "100000000", "0"),
          V("100000000", "100000001", "0")},
         false},
        {"float area overflows", {V("0", "0", "0"), V(e200, "0", "0"), V("0", e200, "0")}, false},
        {"twelve there and back", twelve_there_and_back(), true},
        {"twelve bent", twelve_bent(), false},
        {"collinear beyond the double range",
         {V("0", "0", "0"), V(e200 + "0", e200, "1/3"), V(e200 + "00", e200 + "0", "10/3")},
         true},
    };
    for (const auto& row : rows) {
        const Polygon p = Polygon::make(row.loop, "t.x");
        EXPECT_EQ(p.is_degenerate(), row.degenerate) << row.name;
        EXPECT_EQ(Polygon::has_area(p.vertices, p.float_vertices), !row.degenerate) << row.name;
        EXPECT_EQ(Solid::make({p}).polygons.size(), row.degenerate ? 0u : 1u) << row.name;
    }
}

// The plain double measure of a triangle: s = |Nx| + |Ny| + |Nz| from its float vertices.
double float_area_measure(const Polygon& t) {
    const FloatVertex& a = t.float_vertices[0];
    const FloatVertex& b = t.float_vertices[1];
    const FloatVertex& c = t.float_vertices[2];
    const double d1x = b[0] - a[0], d1y = b[1] - a[1], d1z = b[2] - a[2];
    const double d2x = c[0] - a[0], d2y = c[1] - a[1], d2z = c[2] - a[2];
    return std::fabs(d1y * d2z - d1z * d2y) + std::fabs(d1z * d2x - d1x * d2z) + std::fabs(d1x * d2y - d1y * d2x);
}

// A, A + t·(B − A), B for rational points of magnitude up to 3·10^4 (odd denominators, so rarely
// representable) and t = k/97: rounding the coordinates to doubles leaves a float area of up to
// about 10^-6 on an exactly zero one.
std::vector<Vec3> random_collinear_triangle(std::mt19937& random) {
    auto rational = [&](int limit) {
        const int den = std::uniform_int_distribution<int>(3, 97)(random) * 2 + 1;
        const int num = std::uniform_int_distribution<int>(-limit * den, limit * den)(random);
        return R(std::to_string(num) + "/" + std::to_string(den));
    };
    const Vec3 a{rational(30000), rational(30000), rational(30000)};
    const Vec3 b{rational(30000), rational(30000), rational(30000)};
    const Rational t = R(std::to_string(std::uniform_int_distribution<int>(1, 96)(random)) + "/97");
    return {a, add(a, smul(t, sub(b, a))), b};
}

// Exactly collinear triangles are removed however far their doubles are from zero; bent by a
// hair, they survive.
TEST(PolygonDegenerate, CollinearTrianglesAtLargeCoordinates) {
    std::mt19937 random(7);
    int fooling_plain_threshold = 0;
    for (int i = 0; i < 2000; ++i) {
        std::vector<Vec3> loop = random_collinear_triangle(random);
        const Polygon t = Polygon::make(loop, "t.x");
        ASSERT_EQ(Polygon::area2(t.vertices), R("0"));
        if (float_area_measure(t) > 1e-7) ++fooling_plain_threshold;
        ASSERT_TRUE(t.is_degenerate()) << i;
        ASSERT_FALSE(Polygon::has_area(t.vertices, t.float_vertices)) << i;
        loop[1][2] += R("1/1000000000000");  // N gains ε·(0,0,1)×(B − A) ≠ 0
        ASSERT_FALSE(Polygon::make(loop, "t.x").is_degenerate()) << i;
    }
    // The sample must hold triangles whose double area clears the bare 1e-7 threshold.
    EXPECT_GT(fooling_plain_threshold, 200);
}

TEST(PolygonFlipped, ReversesLoopAndNegatesPlane) {
    // The reversed loop's first three vertices would give the normal (0, 0, −6), not (0, 0, −2).
    const Polygon p = Polygon::make({V("0", "0", "1"), V("1", "0", "1"), V("3", "2", "1"), V("0", "2", "1")}, "k.top");
    const Polygon f = p.flipped();
    EXPECT_EQ(f.vertices, (std::vector<Vec3>{V("0", "2", "1"), V("3", "2", "1"), V("1", "0", "1"), V("0", "0", "1")}));
    EXPECT_EQ(f.float_vertices, to_float_vertices(f.vertices));
    EXPECT_EQ(f.plane.normal, V("0", "0", "-2"));
    EXPECT_EQ(f.plane.offset, R("-2"));
    EXPECT_EQ(f.label, "k.top");
    expect_same(f.flipped(), p);
    Polygon in_place = p;
    in_place.flip();
    expect_same(in_place, f);
}

TEST(SolidMake, KeepsNonDegeneratePolygonsInOrder) {
    const Polygon good1 = Polygon::make({V("0", "0", "0"), V("1", "0", "0"), V("0", "1", "0")}, "a");
    const Polygon bad = Polygon::make({V("0", "0", "0"), V("1", "0", "0"), V("2", "0", "0")}, "b");
    const Polygon good2 = Polygon::make({V("0", "0", "0"), V("0", "0", "1"), V("0", "1", "0")}, "c");
    const Solid s = Solid::make({bad, good1, bad, good2, bad});
    ASSERT_EQ(s.polygons.size(), 2u);
    expect_same(s.polygons[0], good1);
    expect_same(s.polygons[1], good2);
    EXPECT_TRUE(Solid::make({bad, bad}).polygons.empty());
}

Vec3 unchanged(const Vec3& v) { return v; }

TEST(SolidMapped, CarriesPlanesAndFiltersNothing) {
    const Solid box = Solid::cube(R("1/2"), R("2"), R("-3"), "m");
    const Solid unit = Solid::cube(R("1"), R("1"), R("1"), "m");
    const Solid moved = unit.mapped([](const Vec3& v) { return add(v, V("0", "0", "1/3")); }, unchanged);
    EXPECT_EQ(moved.polygons[1].plane.offset, R("4/3"));  // top: normal (0,0,1) at z = 4/3
    EXPECT_EQ(moved.polygons[1].float_vertices[0][2], 4.0 / 3.0);
    const auto to_point = [](const Vec3&) { return V("1", "2", "3"); };
    const Solid collapsed = unit.mapped(to_point, [](const Vec3&) { return V("0", "0", "0"); });
    EXPECT_EQ(collapsed.polygons.size(), 6u);
    EXPECT_TRUE(collapsed.polygons[0].is_degenerate());
    EXPECT_EQ(collapsed.polygons[0].plane.canonical(), (PlaneKey{0, 0, 0, 0}));
    Solid broken = box;
    broken.polygons[3].vertices.resize(2);
    broken.polygons[3].float_vertices.resize(2);
    EXPECT_THROW(broken.mapped(unchanged, unchanged), InternalFailure);
}

// A face that starts on a straight run, or at a reflex corner, has a first-three plane that is
// zero or reversed; the carried plane must replace it, and a plane that was right stays as it was.
TEST(SolidMapped, KeepsTheFirstThreePointsPlaneOnlyWhereItFacesTheLoopsWay) {
    const Plane up{V("0", "0", "2"), R("0")};
    const std::vector<Vec3> run{V("0", "0", "0"), V("1", "0", "0"), V("2", "0", "0"), V("2", "1", "0"), V("0", "1", "0")};
    const std::vector<Vec3> reflex{V("1", "0", "0"), V("1", "1", "0"), V("2", "1", "0"), V("2", "2", "0"),
                                   V("0", "2", "0"), V("0", "0", "0")};
    const std::vector<Vec3> plain{V("0", "0", "0"), V("1", "0", "0"), V("0", "1", "0")};
    Solid solid;
    for (const auto* loop : {&run, &reflex, &plain}) solid.polygons.push_back({*loop, to_float_vertices(*loop), "f", up});
    const auto lift = [](const Vec3& v) { return add(v, V("0", "0", "5")); };
    const Solid moved = solid.mapped(lift, unchanged);
    for (const Polygon& p : moved.polygons) {
        EXPECT_EQ(p.plane.canonical(), (PlaneKey{0, 0, 1, 5}));
        EXPECT_GT(p.plane.normal[2].sign(), 0);
        for (const Vec3& v : p.vertices) EXPECT_EQ(p.plane.side(v), 0);
    }
    EXPECT_EQ(moved.polygons[0].plane.normal, up.normal);  // carried: the first three are collinear
    EXPECT_EQ(moved.polygons[1].plane.normal, up.normal);  // carried: they turn against the loop
    EXPECT_EQ(moved.polygons[2].plane.normal, V("0", "0", "1"));  // through the first three points
}

}  // namespace
}  // namespace brevant
