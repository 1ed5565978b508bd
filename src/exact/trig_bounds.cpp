#include "exact/trig_bounds.hpp"

#include "exact/failure.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

// An enclosure in ulps.
struct Ulps {
    BigInt lo, hi;

    void add(const BigInt& term_lo, const BigInt& term_hi) {
        lo = lo + term_lo;
        hi = hi + term_hi;
    }
    void subtract(const BigInt& term_lo, const BigInt& term_hi) {
        lo = lo - term_hi;
        hi = hi - term_lo;
    }
    void widen(const BigInt& by) {
        lo = lo - by;
        hi = hi + by;
    }
};

BigInt one_ulp_scale(unsigned long bits) { return shift_left(BigInt(1), bits); }

Rational from_ulps(const BigInt& ulps, unsigned long bits) { return Rational(ulps, one_ulp_scale(bits)); }

// atan(1/k) = Σ (−1)^j / ((2j + 1)·k^(2j+1)): the terms fall and alternate in sign, so the series
// stops within its first omitted term of the truth, which is below one ulp once a term's upper
// bound is one ulp.
Ulps atan_of_inverse(long k, unsigned long bits) {
    const BigInt k2(k * k);
    BigInt power_lo = floor_div(one_ulp_scale(bits), BigInt(k));  // 1/k^(2j+1)
    BigInt power_hi = ceil_div(one_ulp_scale(bits), BigInt(k));
    Ulps sum{BigInt(0), BigInt(0)};
    for (long j = 0;; ++j) {
        poll_interrupt();
        const BigInt odd(2 * j + 1);
        const BigInt term_lo = floor_div(power_lo, odd);
        const BigInt term_hi = ceil_div(power_hi, odd);
        if (j % 2 == 0) {
            sum.add(term_lo, term_hi);
        } else {
            sum.subtract(term_lo, term_hi);
        }
        if (term_hi <= BigInt(1)) break;
        power_lo = floor_div(power_lo, k2);
        power_hi = ceil_div(power_hi, k2);
    }
    sum.widen(BigInt(1));
    return sum;
}

struct SinCos {
    Ulps sin, cos;
};

// sin x and cos x at x = x_ulps·2^-bits, 0 <= x <= 2, from the one series Σ x^k/k! whose terms go
// to sin and cos by k mod 4. Once k >= 3 the rest of the series is at most its last term (the
// ratio of two terms, x/(k + 1), is at most 1/2), and that term is at most one ulp at the stop.
SinCos sin_cos(const BigInt& x_ulps, unsigned long bits) {
    const BigInt one = one_ulp_scale(bits);
    BigInt term_lo = one;  // x^k/k!
    BigInt term_hi = one;
    SinCos result{{BigInt(0), BigInt(0)}, {one, one}};
    for (long k = 1;; ++k) {
        poll_interrupt();
        const BigInt divisor = one * BigInt(k);
        term_lo = floor_div(term_lo * x_ulps, divisor);
        term_hi = ceil_div(term_hi * x_ulps, divisor);
        Ulps& sum = k % 2 == 1 ? result.sin : result.cos;
        if (k % 4 == 0 || k % 4 == 1) {
            sum.add(term_lo, term_hi);
        } else {
            sum.subtract(term_lo, term_hi);
        }
        if (k >= 3 && term_hi <= BigInt(1)) {
            result.sin.widen(term_hi);
            result.cos.widen(term_hi);
            return result;
        }
    }
}

// Bounds on tan at x_ulps >= 0 from bounds on sin and cos; nothing while cos may be zero.
std::optional<Enclosure> tan_at(const BigInt& x_ulps, unsigned long bits) {
    SinCos sc = sin_cos(x_ulps, bits);
    if (sc.cos.lo.sign() <= 0) return std::nullopt;
    Rational lo = sc.sin.lo.sign() >= 0 ? Rational(sc.sin.lo, sc.cos.hi) : Rational(sc.sin.lo, sc.cos.lo);
    return Enclosure{std::move(lo), Rational(sc.sin.hi, sc.cos.lo)};
}

}  // namespace

Enclosure pi_enclosure(unsigned long bits) {
    // π = 16·atan(1/5) − 4·atan(1/239)
    const Ulps a = atan_of_inverse(5, bits);
    const Ulps b = atan_of_inverse(239, bits);
    return {from_ulps(BigInt(16) * a.lo - BigInt(4) * b.hi, bits), from_ulps(BigInt(16) * a.hi - BigInt(4) * b.lo, bits)};
}

std::optional<Enclosure> tan_enclosure(const Rational& x, unsigned long bits) {
    if (x.sign() < 0) {
        std::optional<Enclosure> mirrored = tan_enclosure(-x, bits);
        if (!mirrored) return std::nullopt;
        return Enclosure{-mirrored->hi, -mirrored->lo};
    }
    if (x > Rational(2)) throw InternalFailure("index out of range: tan bounds need |x| <= 2");
    const BigInt scaled = shift_left(x.numerator(), bits);
    // tan rises on [0, π/2): the lower bound at the point below x, the upper at the point above.
    std::optional<Enclosure> below = tan_at(floor_div(scaled, x.denominator()), bits);
    std::optional<Enclosure> above = tan_at(ceil_div(scaled, x.denominator()), bits);
    if (!below || !above) return std::nullopt;
    return Enclosure{std::move(below->lo), std::move(above->hi)};
}

Enclosure sqrt_enclosure(const BigInt& m, unsigned long bits) {
    const BigInt scaled = shift_left(m, 2 * bits);
    const BigInt root = isqrt(scaled);
    const BigInt above = root * root == scaled ? root : root + BigInt(1);
    return {from_ulps(root, bits), from_ulps(above, bits)};
}

}  // namespace brevant
