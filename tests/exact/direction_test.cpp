// Normal forms of line directions and exact unit vectors.
#include <gtest/gtest.h>

#include "exact/direction.hpp"
#include "exact/failure.hpp"

namespace brevant {
namespace {

Vec3 V(const char* x, const char* y, const char* z) { return {parse_r(x), parse_r(y), parse_r(z)}; }

struct DirRow {
    Vec3 in;
    std::optional<Vec3> out;
};

TEST(CanonDir, PrimitiveIntegerWithFirstNonzeroPositive) {
    const DirRow rows[] = {
        {V("1/2", "-1/3", "0"), V("3", "-2", "0")}, {V("0", "-2", "4"), V("0", "1", "-2")},
        {V("-5", "0", "0"), V("1", "0", "0")},      {V("0", "0", "-7/3"), V("0", "0", "1")},
        {V("6/35", "-10/21", "4/15"), V("9", "-25", "14")}, {V("0", "0", "0"), std::nullopt},
    };
    for (const DirRow& row : rows) {
        EXPECT_EQ(canon_dir(row.in), row.out);
        EXPECT_EQ(canon_dir(neg(row.in)), row.out);
        EXPECT_EQ(canon_dir(smul(parse_r("-22/7"), row.in)), row.out);
        // Components too large for machine words take the big-integer path to the same form.
        EXPECT_EQ(canon_dir(smul(parse_r("1208925819614629174706176/3"), row.in)), row.out);  // 2^80 / 3
        EXPECT_EQ(canon_dir(smul(parse_r("1/1208925819614629174706177"), row.in)), row.out);
    }
}

TEST(UnitDir, ExactUnitVectorKeepingOrientation) {
    const DirRow rows[] = {
        {V("3", "4", "0"), V("3/5", "4/5", "0")},    {V("0", "0", "-2"), V("0", "0", "-1")},
        {V("2/3", "1/3", "2/3"), V("2/3", "1/3", "2/3")}, {V("1/2", "0", "0"), V("1", "0", "0")},
        {V("1", "1", "1/2"), V("2/3", "2/3", "1/3")}, {V("-3", "0", "4"), V("-3/5", "0", "4/5")},
        {V("1", "1", "0"), std::nullopt},             {V("1", "1", "1"), std::nullopt},
        {V("1/2", "1/2", "0"), std::nullopt},  // squared length 1/2: numerator square, denominator not
    };
    for (const DirRow& row : rows) EXPECT_EQ(unit_dir(row.in), row.out);
    EXPECT_THROW(unit_dir(V("0", "0", "0")), InternalFailure);
}

}  // namespace
}  // namespace brevant
