#include "exact/sqrt_approx.hpp"

#include "exact/failure.hpp"

namespace brevant {
namespace {

// The k of the header: the least k >= 0 with m·4^k >= 2^(2·kSqrtApproxBits), m > 0. With b the
// bit length of m, m >= 2^(b−1), so b − 1 + 2k >= 2·kSqrtApproxBits suffices.
unsigned long precision_shift(const BigInt& m) {
    const long bits = static_cast<long>(mpz_sizeinbase(m.raw(), 2));
    const long needed = 2 * kSqrtApproxBits + 1 - bits;
    return needed <= 0 ? 0 : static_cast<unsigned long>((needed + 1) / 2);
}

}  // namespace

Rational sqrt_approx(const Rational& s) {
    if (s.sign() < 0) throw InternalFailure("square root of a negative number");
    const BigInt d = s.denominator();
    const BigInt m = s.numerator() * d;
    const BigInt root = isqrt(m);
    if (root * root == m) return Rational(root, d);

    // ⌊√(m·4^k)⌋ >= 2^kSqrtApproxBits, and √(m·4^k) − ⌊√(m·4^k)⌋ < 1, hence the relative bound.
    const unsigned long k = precision_shift(m);
    BigInt scaled;
    mpz_mul_2exp(scaled.raw(), m.raw(), 2 * k);
    BigInt scale;
    mpz_mul_2exp(scale.raw(), d.raw(), k);
    return Rational(isqrt(scaled), scale);
}

}  // namespace brevant
