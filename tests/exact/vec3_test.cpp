// Vector arithmetic, the exact 3×3 solve and the shoelace area.
#include <gtest/gtest.h>

#include <random>

#include "exact/vec3.hpp"

namespace brevant {
namespace {

Vec3 V(const char* x, const char* y, const char* z) { return {parse_r(x), parse_r(y), parse_r(z)}; }
Point2 P(const char* x, const char* y) { return {parse_r(x), parse_r(y)}; }

TEST(Vec3Ops, ComponentWiseAndCross) {
    const Vec3 a = V("1/2", "-1", "3");
    const Vec3 b = V("1/3", "2", "-3");
    EXPECT_EQ(add(a, b), V("5/6", "1", "0"));
    EXPECT_EQ(sub(a, b), V("1/6", "-3", "6"));
    EXPECT_EQ(neg(a), V("-1/2", "1", "-3"));
    EXPECT_EQ(smul(parse_r("-2"), a), V("-1", "2", "-6"));
    EXPECT_EQ(smul(parse_r("0"), a)[0].str(), "0/1");
    EXPECT_EQ(dot(a, b), parse_r("1/6") - parse_r("2") - parse_r("9"));
    EXPECT_EQ(norm1(V("-1/2", "0", "3")), parse_r("7/2"));
    EXPECT_EQ(cross(V("1", "0", "0"), V("0", "1", "0")), V("0", "0", "1"));
    EXPECT_EQ(cross(V("0", "1", "0"), V("0", "0", "1")), V("1", "0", "0"));
    EXPECT_EQ(cross(a, b), neg(cross(b, a)));
    EXPECT_EQ(dot(cross(a, b), a), parse_r("0"));
    EXPECT_EQ(cross(a, smul(parse_r("-3/7"), a)), V("0", "0", "0"));
}

TEST(Solve3, SolvesOrReportsSingular) {
    EXPECT_EQ(solve3({V("1", "1", "0"), V("0", "1", "1"), V("1", "0", "1")}, V("2", "2", "2")), V("1", "1", "1"));
    const std::array<Vec3, 3> rows{V("2", "-1/3", "5"), V("1/7", "4", "0"), V("-3", "1", "1/2")};
    const Vec3 r = V("1", "-2/9", "11");
    const std::optional<Vec3> x = solve3(rows, r);
    ASSERT_TRUE(x.has_value());
    for (int i = 0; i < 3; ++i) EXPECT_EQ(dot(rows[i], *x), r[i]);
    EXPECT_FALSE(solve3({V("1", "2", "3"), V("1", "2", "3"), V("0", "0", "1")}, V("1", "1", "5")));
    // The third row is the sum of the first two: singular although no two rows are equal.
    EXPECT_FALSE(solve3({V("1", "0", "1"), V("0", "1", "1"), V("1", "1", "2")}, V("0", "0", "0")));
}

// Systems with and without rows across an axis (the short path and Cramer's rule), checked by
// substitution, and singular exactly when the determinant is zero.
TEST(Solve3, RowsAcrossAnAxisSolveLikeAnyOther) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> small(-3, 3);
    auto q = [&] { return Rational(small(rng)) / Rational(std::uniform_int_distribution<int>(1, 4)(rng)); };
    int solved = 0, singular = 0;
    for (int round = 0; round < 600; ++round) {
        std::array<Vec3, 3> rows;
        for (Vec3& row : rows) row = {q(), q(), q()};
        for (int i = 0; i < round % 3; ++i) {  // zero all but one entry of some rows
            const int keep = small(rng) & 1 ? 0 : 2;
            for (int k = 0; k < 3; ++k) {
                if (k != keep) rows[i][k] = Rational();
            }
        }
        const Vec3 r{q(), q(), q()};
        const std::optional<Vec3> x = solve3(rows, r);
        const bool zero = dot(rows[0], cross(rows[1], rows[2])).is_zero();
        ASSERT_EQ(x.has_value(), !zero);
        if (!x) {
            ++singular;
            continue;
        }
        ++solved;
        for (int i = 0; i < 3; ++i) EXPECT_EQ(dot(rows[i], *x), r[i]);
    }
    EXPECT_GT(solved, 300);
    EXPECT_GT(singular, 10);
}

TEST(LoopArea2, ShoelaceSign) {
    EXPECT_EQ(loop_area2({P("0", "0"), P("1", "0"), P("1", "1"), P("0", "1")}), parse_r("2"));
    EXPECT_EQ(loop_area2({P("0", "0"), P("0", "1"), P("1", "1"), P("1", "0")}), parse_r("-2"));
    EXPECT_EQ(loop_area2({P("1", "1"), P("2", "1"), P("1", "3")}), parse_r("2"));  // legs 1 and 2
    EXPECT_EQ(loop_area2({P("0", "0"), P("1", "1"), P("5/2", "5/2")}), parse_r("0"));
    EXPECT_EQ(loop_area2({P("3", "4")}), parse_r("0"));
    EXPECT_EQ(loop_area2({}), parse_r("0"));
}

}  // namespace
}  // namespace brevant
