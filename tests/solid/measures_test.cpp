// Measures: six-fold volume, canonical text, logical face count and bounding box.
#include <string>

#include <gtest/gtest.h>

#include "exact/failure.hpp"
#include "solid/measures.hpp"

namespace brevant {
namespace {

Rational R(const std::string& text) { return parse_r(text); }
Vec3 V(const std::string& x, const std::string& y, const std::string& z) { return {R(x), R(y), R(z)}; }
Solid box(const std::string& dx, const std::string& dy, const std::string& dz) { return Solid::cube(R(dx), R(dy), R(dz), "p"); }

struct VolumeRow {
    const char *dx, *dy, *dz, *volume6;
};

TEST(Volume6, SixTimesTheSignedBoxVolume) {
    const VolumeRow rows[] = {
        {"1", "1", "1", "6/1"},   {"1/2", "2", "3", "18/1"}, {"-1", "1", "1", "-6/1"},
        {"-1", "-1", "1", "6/1"}, {"0", "2", "3", "0/1"},    {"2/3", "3/5", "5/7", "12/7"},
    };
    for (const VolumeRow& row : rows) EXPECT_EQ(volume6(box(row.dx, row.dy, row.dz)).str(), row.volume6) << row.dx;
}

TEST(Volume6, ClosedSolidIsIndependentOfTheOrigin) {
    const Solid moved = box("2/3", "3/5", "5/7").mapped([](const Vec3& v) { return add(v, V("-7/2", "11", "1/9")); });
    EXPECT_EQ(volume6(moved).str(), "12/7");
}

TEST(Volume6, ParallelepipedIsSixTimesTheDeterminant) {
    const Vec3 o = V("1", "-1", "1/2"), a = V("2", "0", "0"), b = V("1", "3", "0"), c = V("1/2", "1", "2");
    const std::array<Vec3, 8> corners{o, add(o, a), add(add(o, a), b), add(o, b),
                                      add(o, c), add(add(o, a), c), add(add(add(o, a), b), c), add(add(o, b), c)};
    EXPECT_EQ(volume6(parallelepiped(corners, "q")), Rational(6) * dot(a, cross(b, c)));
}

// The double filter may only answer where it is a proof: it must agree with the exact sign on
// boxes whose doubles cancel (far from the origin), underflow (tiny), overflow (huge) or vanish.
TEST(Volume6Sign, AgreesWithTheExactVolume) {
    const std::string e20 = "1" + std::string(20, '0');
    const std::string e300 = "1" + std::string(300, '0');
    const std::string e400 = "1" + std::string(400, '0');
    auto moved = [](const Solid& s, const Vec3& by) {
        return s.mapped([&](const Vec3& v) { return add(v, by); });
    };
    struct Row {
        const char* name;
        Solid solid;
        int sign;
    };
    const Row rows[] = {
        {"unit box", box("1", "1", "1"), 1},
        {"mirrored box", box("-1", "1", "1"), -1},
        {"flat box", box("0", "2", "3"), 0},
        {"no polygons", Solid{}, 0},
        {"far from the origin", moved(box("1/3", "1/7", "1/11"), V(e20 + "/3", e20, "-" + e20)), 1},
        {"far and inside out", moved(box("1/3", "1/7", "1/11"), V(e20 + "/3", e20, "-" + e20)).flipped(), -1},
        {"tiny", box("1/" + e300, "1/" + e300, "1/" + e300), 1},
        {"huge", box(e400, "1", "1"), 1},
        {"open triangle off the origin", Solid::make({Polygon::make({V("1", "0", "0"), V("0", "1", "0"), V("0", "0", "1")}, "t")}), 1},
        {"open triangle through the origin", Solid::make({Polygon::make({V("0", "0", "0"), V("1", "0", "0"), V("0", "1", "0")}, "t")}), 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(volume6(row.solid).sign(), row.sign) << row.name;
        EXPECT_EQ(volume6_sign(row.solid), row.sign) << row.name;
    }
}

const char* const unit_box_text =
    "0/1,0/1,0/1|0/1,0/1,1/1|0/1,1/1,0/1|0/1,1/1,1/1;0/1,0/1,0/1|0/1,0/1,1/1|1/1,0/1,0/1|1/1,0/1,1/1;"
    "0/1,0/1,0/1|0/1,1/1,0/1|1/1,0/1,0/1|1/1,1/1,0/1;0/1,0/1,1/1|0/1,1/1,1/1|1/1,0/1,1/1|1/1,1/1,1/1;"
    "0/1,1/1,0/1|0/1,1/1,1/1|1/1,1/1,0/1|1/1,1/1,1/1;1/1,0/1,0/1|1/1,0/1,1/1|1/1,1/1,0/1|1/1,1/1,1/1";

TEST(Canonical, UnitBoxText) { EXPECT_EQ(canonical_text(box("1", "1", "1")), unit_box_text); }

TEST(Canonical, IgnoresLabelsOrderAndLoopDirection) {
    const Solid unit = Solid::cube(R("1"), R("1"), R("1"), "other");
    Solid shuffled = unit.flipped();
    std::swap(shuffled.polygons[0], shuffled.polygons[5]);
    EXPECT_EQ(canonical_text(shuffled), unit_box_text);
}

TEST(Canonical, CoincidentFacesCollapseAndEmptyIsEmpty) {
    EXPECT_EQ(canonical_text(box("0", "2", "3")), "0/1,0/1,0/1|0/1,0/1,3/1|0/1,2/1,0/1|0/1,2/1,3/1");
    EXPECT_EQ(canonical_text(box("0", "0", "3")), "");
}

TEST(Canonical, TranslatedUnitBoxShowsMovedCoordinates) {
    // Moving x from {0, 1} to {1/3, 4/3} keeps the byte order of the texts, so the unit box text
    // with every x coordinate rewritten is the expected one.
    std::string expected;
    const std::string unit = unit_box_text;
    for (std::size_t i = 0; i < unit.size(); ++i) {
        const bool starts_vertex = i == 0 || unit[i - 1] == '|' || unit[i - 1] == ';';
        if (starts_vertex) {
            expected += unit.compare(i, 3, "0/1") == 0 ? "1/3" : "4/3";
            i += 2;
        } else {
            expected += unit[i];
        }
    }
    const Solid moved = box("1", "1", "1").mapped([](const Vec3& v) { return add(v, V("1/3", "0", "0")); });
    EXPECT_EQ(canonical_text(moved), expected);
    EXPECT_EQ(volume6(moved).str(), "6/1");
}

TEST(LogicalFaces, CountsDistinctPlanes) {
    EXPECT_EQ(logical_face_count(box("1", "1", "1")), 6u);
    EXPECT_EQ(logical_face_count(box("-1", "2", "1/2")), 6u);
    EXPECT_EQ(logical_face_count(box("0", "2", "3")), 1u);
    EXPECT_EQ(logical_face_count(box("0", "0", "0")), 0u);
    // Two triangles of one square, one of them scaled differently, count once.
    const Solid split = Solid::make({Polygon::make({V("0", "0", "1"), V("1", "0", "1"), V("1", "1", "1")}, "s"),
                                     Polygon::make({V("0", "0", "1"), V("2", "2", "1"), V("0", "2", "1")}, "s")});
    EXPECT_EQ(logical_face_count(split), 1u);
}

TEST(BoundingBox, LowestAndHighestCorners) {
    EXPECT_EQ(bbox(box("1", "2", "3")), std::make_pair(V("0", "0", "0"), V("1", "2", "3")));
    EXPECT_EQ(bbox(box("-1", "2", "-3/2")), std::make_pair(V("-1", "0", "-3/2"), V("0", "2", "0")));
    EXPECT_EQ(bbox(box("0", "2", "3")), std::make_pair(V("0", "0", "0"), V("0", "2", "3")));
    const Solid moved = box("1", "1", "1").mapped([](const Vec3& v) { return add(v, V("5", "-7", "1/3")); });
    EXPECT_EQ(bbox(moved), std::make_pair(V("5", "-7", "1/3"), V("6", "-6", "4/3")));
}

TEST(EmptySolid, MeasuresAreZeroAndBboxFails) {
    const Solid empty = box("0", "0", "3");
    ASSERT_TRUE(empty.polygons.empty());
    EXPECT_EQ(volume6(empty).str(), "0/1");
    EXPECT_EQ(canonical_text(empty), "");
    EXPECT_EQ(logical_face_count(empty), 0u);
    EXPECT_THROW(bbox(empty), InternalFailure);
}

}  // namespace
}  // namespace brevant
