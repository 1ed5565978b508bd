#include "exact/sqrt_approx.hpp"

#include "exact/failure.hpp"

namespace brevant {
namespace {

BigInt power_of_two(unsigned long bits) {
    BigInt p;
    mpz_setbit(p.raw(), bits);
    return p;
}

// The first convergent p/q of √m (m > 0 not a square) with q²·⌊√m⌋ >= 2^kSqrtApproxBits. The
// expansion runs on the exact integer recurrence for quadratic surds: with a0 = ⌊√m⌋, the k-th
// complete quotient is (√m + r)/t, its partial quotient a = ⌊(a0 + r)/t⌋, and the next r and t are
// a·t − r and (m − r²)/t.
Rational convergent(const BigInt& m, const BigInt& a0) {
    const BigInt enough = power_of_two(kSqrtApproxBits);
    BigInt r(0), t(1), a = a0;
    BigInt p_prev(1), q_prev(0), p = a0, q(1);
    while (q * q * a0 < enough) {
        r = a * t - r;
        t = divexact(m - r * r, t);
        mpz_fdiv_q(a.raw(), (a0 + r).raw(), t.raw());
        BigInt p_next = a * p + p_prev;
        BigInt q_next = a * q + q_prev;
        p_prev = std::move(p);
        q_prev = std::move(q);
        p = std::move(p_next);
        q = std::move(q_next);
    }
    return Rational(p, q);
}

}  // namespace

Rational sqrt_approx(const Rational& s) {
    if (s.sign() < 0) throw InternalFailure("square root of a negative number");
    const BigInt d = s.denominator();
    const BigInt m = s.numerator() * d;
    const BigInt root = isqrt(m);
    if (root * root == m) return Rational(root, d);
    return convergent(m, root) / Rational(d);
}

}  // namespace brevant
