#include "exact/dot_sign.hpp"

#include <cstdint>
#include <numeric>
#include <optional>

#include "exact/stats.hpp"
#include "exact/word_gcd.hpp"

namespace brevant {
namespace {

using Int128 = __int128;

// A sum of fractions x/y (y > 0) kept as one unreduced fraction num/den, only its sign being
// wanted. Every step checks for overflow; after a failed step the sum is no longer meaningful.
class WordSum {
public:
    [[nodiscard]] bool add(Int128 x, Int128 y) {
        if (y == den_) return !__builtin_add_overflow(num_, x, &num_);
        // Over word-sized denominators the lcm keeps the numbers smaller than the product does.
        Int128 y_scale = y;
        Int128 den_scale = den_;
        if (fits_word(y) && fits_word(den_)) {
            const auto y_word = static_cast<std::uint64_t>(y);
            const auto den_word = static_cast<std::uint64_t>(den_);
            const std::uint64_t g = word_gcd(y_word, den_word);
            y_scale = y_word / g;
            den_scale = den_word / g;
        }
        Int128 scaled_num, scaled_x;
        return !__builtin_mul_overflow(num_, y_scale, &scaled_num) && !__builtin_mul_overflow(x, den_scale, &scaled_x) &&
               !__builtin_add_overflow(scaled_num, scaled_x, &num_) && !__builtin_mul_overflow(den_, y_scale, &den_);
    }
    int sign() const { return (num_ > 0) - (num_ < 0); }

private:
    static bool fits_word(Int128 v) { return v <= static_cast<Int128>(UINT64_MAX); }

    Int128 num_ = 0;
    Int128 den_ = 1;
};

// Inline operands bound each product's numerator and denominator by 2^126, so forming a term
// never overflows; only the sum can.
std::optional<int> word_dot_minus_sign(const Vec3& normal, const Vec3& p, const Rational& offset) {
    if (!offset.is_inline()) return std::nullopt;
    WordSum sum;
    for (std::size_t i = 0; i < 3; ++i) {
        const Rational& n = normal[i];
        const Rational& x = p[i];
        if (!n.is_inline() || !x.is_inline()) return std::nullopt;
        if (n.is_zero() || x.is_zero()) continue;
        if (!sum.add(Int128(n.inline_numerator()) * x.inline_numerator(),
                     Int128(n.inline_denominator()) * x.inline_denominator())) {
            return std::nullopt;
        }
    }
    if (!sum.add(-Int128(offset.inline_numerator()), offset.inline_denominator())) return std::nullopt;
    return sum.sign();
}

}  // namespace

int dot_minus_sign(const Vec3& normal, const Vec3& p, const Rational& offset) {
    const std::optional<int> fast = word_dot_minus_sign(normal, p, offset);
    count_side_test(!fast);
    if (fast) return *fast;
    return (dot(normal, p) - offset).sign();
}

}  // namespace brevant
