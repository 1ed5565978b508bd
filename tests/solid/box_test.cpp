// Boxes and parallelepipeds: planes and orientation of their faces, zero and negative extents.
#include <string>

#include <gtest/gtest.h>

#include "solid/measures.hpp"
#include "solid/solid.hpp"

namespace brevant {
namespace {

Rational R(const char* text) { return parse_r(text); }
Vec3 V(const char* x, const char* y, const char* z) { return {R(x), R(y), R(z)}; }

// +1 when every face has the point behind it (faces outward), −1 when in front of all (inward).
int orientation_about(const Solid& s, const Vec3& inside) {
    int front = 0, back = 0;
    for (const Polygon& p : s.polygons) {
        for (const Vec3& v : p.vertices) EXPECT_EQ(p.plane.side(v), 0) << p.label;
        (p.plane.side(inside) < 0 ? back : front) += 1;
    }
    if (back == static_cast<int>(s.polygons.size())) return 1;
    if (front == static_cast<int>(s.polygons.size())) return -1;
    return 0;
}

TEST(Cube, PlanesAndOrientation) {
    const Solid box = Solid::cube(R("1"), R("2"), R("3"), "p");
    EXPECT_EQ(box.polygons[0].plane.normal, V("0", "0", "-2"));
    EXPECT_EQ(box.polygons[4].plane.normal, V("6", "0", "0"));
    EXPECT_EQ(orientation_about(box, V("1/2", "1", "3/2")), 1);
    EXPECT_EQ(orientation_about(Solid::cube(R("-1"), R("1"), R("1"), "p"), V("-1/2", "1/2", "1/2")), -1);
    EXPECT_EQ(orientation_about(Solid::cube(R("-1"), R("-1"), R("1"), "p"), V("-1/2", "-1/2", "1/2")), 1);
    EXPECT_EQ(orientation_about(Solid::cube(R("-1"), R("-1"), R("-1/3"), "p"), V("-1/2", "-1/2", "-1/6")), -1);
}

TEST(Cube, FlatBoxKeepsTwoOppositeFacesInOnePlane) {
    const Solid flat = Solid::cube(R("0"), R("2"), R("3"), "p");
    ASSERT_EQ(flat.polygons.size(), 2u);
    // Both faces lie in x = 0: "right" still faces +x, "left" faces −x.
    EXPECT_EQ(flat.polygons[0].plane.normal, V("6", "0", "0"));
    EXPECT_EQ(flat.polygons[1].plane.normal, V("-6", "0", "0"));
    EXPECT_EQ(flat.polygons[0].plane.offset, R("0"));
    EXPECT_EQ(flat.polygons[1].plane.offset, R("0"));
}

TEST(Parallelepiped, ShearedCornersGiveOutwardLetteredFaces) {
    // Corners o + i·a + j·b + k·c numbered like the box, with a right-handed frame a, b, c.
    const Vec3 o = V("1", "-1", "1/2"), a = V("2", "0", "0"), b = V("1", "3", "0"), c = V("1/2", "1", "2");
    const std::array<Vec3, 8> corners{o, add(o, a), add(add(o, a), b), add(o, b),
                                      add(o, c), add(add(o, a), c), add(add(add(o, a), b), c), add(add(o, b), c)};
    const Solid q = parallelepiped(corners, "q");
    std::vector<std::string> labels;
    for (const Polygon& p : q.polygons) labels.push_back(p.label);
    EXPECT_EQ(labels, (std::vector<std::string>{"q.b", "q.t", "q.f", "q.k", "q.r", "q.l"}));
    EXPECT_EQ(q.polygons[3].vertices, (std::vector<Vec3>{corners[2], corners[3], corners[7], corners[6]}));
    EXPECT_EQ(orientation_about(q, add(o, smul(R("1/2"), add(add(a, b), c)))), 1);
    EXPECT_EQ(volume6(q), Rational(6) * dot(a, cross(b, c)));
}

}  // namespace
}  // namespace brevant
