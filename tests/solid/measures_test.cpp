// Measures Python cannot set up: the double filter of the volume sign on extreme coordinates, and
// the canonical text and face count of solids whose polygons are reordered, reversed or split.
#include <string>

#include <gtest/gtest.h>

#include "solid/measures.hpp"
#include "solid/transforms.hpp"

namespace brevant {
namespace {

Rational R(const std::string& text) { return parse_r(text); }
Vec3 V(const std::string& x, const std::string& y, const std::string& z) { return {R(x), R(y), R(z)}; }
Solid box(const std::string& dx, const std::string& dy, const std::string& dz) { return Solid::cube(R(dx), R(dy), R(dz), "p"); }

// The double filter may only answer where it is a proof: it must agree with the exact sign on
// boxes whose doubles cancel (far from the origin), underflow (tiny), overflow (huge) or vanish.
TEST(Volume6Sign, AgreesWithTheExactVolume) {
    const std::string e20 = "1" + std::string(20, '0');
    const std::string e300 = "1" + std::string(300, '0');
    const std::string e400 = "1" + std::string(400, '0');
    const Solid far = translated(box("1/3", "1/7", "1/11"), V(e20 + "/3", e20, "-" + e20));
    const struct {
        const char* name;
        Solid solid;
        int sign;
    } rows[] = {
        {"unit box", box("1", "1", "1"), 1},
        {"mirrored box", box("-1", "1", "1"), -1},
        {"flat box", box("0", "2", "3"), 0},
        {"no polygons", Solid{}, 0},
        {"far from the origin", far, 1},
        {"far and inside out", far.flipped(), -1},
        {"tiny", box("1/" + e300, "1/" + e300, "1/" + e300), 1},
        {"huge", box(e400, "1", "1"), 1},
        {"open triangle off the origin", Solid::make({Polygon::make({V("1", "0", "0"), V("0", "1", "0"), V("0", "0", "1")}, "t")}), 1},
        {"open triangle through the origin", Solid::make({Polygon::make({V("0", "0", "0"), V("1", "0", "0"), V("0", "1", "0")}, "t")}), 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(volume6(row.solid).sign(), row.sign) << row.name;
        EXPECT_EQ(volume6_sign(row.solid), row.sign) << row.name;
    }
}

TEST(Canonical, IgnoresLabelsOrderAndLoopDirection) {
    Solid shuffled = Solid::cube(R("1"), R("1"), R("1"), "other").flipped();
    std::swap(shuffled.polygons[0], shuffled.polygons[5]);
    EXPECT_EQ(canonical_text(shuffled), canonical_text(box("1", "1", "1")));
}

TEST(LogicalFaces, TwoTrianglesOfOneSquareScaledDifferentlyCountOnce) {
    const Solid split = Solid::make({Polygon::make({V("0", "0", "1"), V("1", "0", "1"), V("1", "1", "1")}, "s"),
                                     Polygon::make({V("0", "0", "1"), V("2", "2", "1"), V("0", "2", "1")}, "s")});
    EXPECT_EQ(logical_face_count(split), 1u);
}

}  // namespace
}  // namespace brevant
