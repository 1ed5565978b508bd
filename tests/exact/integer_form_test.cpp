#include <gtest/gtest.h>

#include <random>

#include "exact/integer_form.hpp"

namespace brevant {
namespace {

// The machine-word path against GMP on the same values: small fractions, values at the inline
// limits, and lcm's of denominators that overflow 63 bits (which must fall back, not wrap).
TEST(PrimitiveIntegerForm, WordPathAgreesWithGmp) {
    std::mt19937_64 rng(7);
    const long limit = std::numeric_limits<long>::max();
    const std::array<long, 8> edges{0, 1, -1, limit, -limit, limit / 2, 3037000499, -4294967311};
    auto pick = [&](bool wide) -> long {
        if (rng() % 4 == 0) return edges[rng() % edges.size()];
        const long span = wide ? limit : 50;
        return static_cast<long>(rng() % static_cast<std::uint64_t>(span)) - (wide ? 0 : 25);
    };
    int fast = 0;
    for (int trial = 0; trial < 20000; ++trial) {
        const bool wide = trial % 3 == 0;
        std::array<Rational, 4> values;
        for (Rational& v : values) {
            const long d = std::max(1L, std::labs(pick(wide)));
            v = Rational(BigInt(pick(wide)), BigInt(d));
        }
        const std::array<const Rational*, 4> view{&values[0], &values[1], &values[2], &values[3]};
        fast += detail::small_primitive_form<4>(view).has_value();
        EXPECT_EQ(primitive_integer_form<4>(view), detail::big_primitive_form<4>(view));
    }
    EXPECT_GT(fast, 5000);  // the word path is taken in many of these cases, not only the fallback
}

}  // namespace
}  // namespace brevant
