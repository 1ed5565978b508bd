// The binary gcd against the standard library's, on words of every size and shape.
#include <limits>
#include <numeric>
#include <random>

#include <gtest/gtest.h>

#include "exact/word_gcd.hpp"

namespace brevant {
namespace {

TEST(WordGcd, AgreesWithStdGcd) {
    const std::uint64_t top = std::numeric_limits<std::uint64_t>::max();
    const std::vector<std::uint64_t> edges{0, 1, 2, 3, 1024, 1000, 999983, (1ULL << 63), top, top - 1, 6ULL << 60};
    for (std::uint64_t a : edges) {
        for (std::uint64_t b : edges) EXPECT_EQ(word_gcd(a, b), std::gcd(a, b)) << a << " " << b;
    }
    std::mt19937_64 rng(3);
    for (int trial = 0; trial < 100000; ++trial) {
        // Shared factors and powers of two, so that answers other than 1 are common.
        const std::uint64_t common = 1 + rng() % 5000, shift = rng() % 20;
        const std::uint64_t a = (rng() >> (rng() % 64)) * common << shift, b = (rng() >> (rng() % 64)) * common;
        EXPECT_EQ(word_gcd(a, b), std::gcd(a, b)) << a << " " << b;
    }
}

}  // namespace
}  // namespace brevant
