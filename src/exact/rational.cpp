#include "exact/rational.hpp"

#include <cmath>

#include "exact/failure.hpp"

namespace brevant {

Rational::Rational() { mpq_init(value_); }
Rational::Rational(long value) {
    mpq_init(value_);
    mpq_set_si(value_, value, 1);
}
Rational::Rational(const BigInt& numerator) {
    mpq_init(value_);
    mpq_set_z(value_, numerator.raw());
}
Rational::Rational(const BigInt& numerator, const BigInt& denominator) {
    if (denominator.sign() == 0) throw InternalFailure("denominator == 0");
    mpq_init(value_);
    mpz_set(mpq_numref(value_), numerator.raw());
    mpz_set(mpq_denref(value_), denominator.raw());
    mpq_canonicalize(value_);
}
Rational::Rational(const Rational& other) {
    mpq_init(value_);
    mpq_set(value_, other.value_);
}
Rational::Rational(Rational&& other) noexcept {
    mpq_init(value_);
    mpq_swap(value_, other.value_);
}
Rational& Rational::operator=(const Rational& other) {
    mpq_set(value_, other.value_);
    return *this;
}
Rational& Rational::operator=(Rational&& other) noexcept {
    mpq_swap(value_, other.value_);
    return *this;
}
Rational::~Rational() { mpq_clear(value_); }

Rational operator+(const Rational& a, const Rational& b) {
    Rational r;
    mpq_add(r.value_, a.value_, b.value_);
    return r;
}
Rational operator-(const Rational& a, const Rational& b) {
    Rational r;
    mpq_sub(r.value_, a.value_, b.value_);
    return r;
}
Rational operator*(const Rational& a, const Rational& b) {
    Rational r;
    mpq_mul(r.value_, a.value_, b.value_);
    return r;
}
Rational operator/(const Rational& a, const Rational& b) {
    if (b.is_zero()) throw InternalFailure("division by zero");
    Rational r;
    mpq_div(r.value_, a.value_, b.value_);
    return r;
}
Rational Rational::operator-() const {
    Rational r;
    mpq_neg(r.value_, value_);
    return r;
}
Rational& Rational::operator+=(const Rational& b) {
    mpq_add(value_, value_, b.value_);
    return *this;
}
Rational& Rational::operator-=(const Rational& b) {
    mpq_sub(value_, value_, b.value_);
    return *this;
}
Rational& Rational::operator*=(const Rational& b) {
    mpq_mul(value_, value_, b.value_);
    return *this;
}
Rational Rational::abs() const {
    Rational r;
    mpq_abs(r.value_, value_);
    return r;
}

BigInt Rational::numerator() const {
    BigInt r;
    mpz_set(r.raw(), mpq_numref(value_));
    return r;
}
BigInt Rational::denominator() const {
    BigInt r;
    mpz_set(r.raw(), mpq_denref(value_));
    return r;
}

std::string Rational::str() const { return numerator().str() + "/" + denominator().str(); }

namespace {

// Nearest double to a/b for a, b > 0: an integer quotient q with at least 55 significant bits
// plus a sticky bit holds enough to round once, correctly, at the position a double keeps
// (53 bits for normal values, fewer below 2^-1022 where the last kept bit is fixed at 2^-1074).
double positive_quotient_to_double(const mpz_t a, const mpz_t b) {
    const long shift = 55 - (static_cast<long>(mpz_sizeinbase(a, 2)) - static_cast<long>(mpz_sizeinbase(b, 2)));
    mpz_t num, den, q, r;
    mpz_inits(num, den, q, r, nullptr);
    if (shift >= 0) {
        mpz_mul_2exp(num, a, static_cast<mp_bitcnt_t>(shift));
        mpz_set(den, b);
    } else {
        mpz_set(num, a);
        mpz_mul_2exp(den, b, static_cast<mp_bitcnt_t>(-shift));
    }
    mpz_tdiv_qr(q, r, num, den);
    const bool sticky_rest = mpz_sgn(r) != 0;
    // value = (q + r/den) * 2^-shift, with the top bit of q at 2^top.
    const long top = static_cast<long>(mpz_sizeinbase(q, 2)) - 1 - shift;
    double result;
    if (top > 1023) {
        result = HUGE_VAL;
    } else {
        const long lowest_kept = std::max(top - 52, -1074L);
        const long drop = lowest_kept + shift;  // >= 2: q always has bits below the kept ones
        const bool round_bit = mpz_tstbit(q, static_cast<mp_bitcnt_t>(drop - 1)) != 0;
        const bool sticky = sticky_rest || mpz_scan1(q, 0) < static_cast<mp_bitcnt_t>(drop - 1);
        mpz_fdiv_q_2exp(q, q, static_cast<mp_bitcnt_t>(drop));
        unsigned long kept = mpz_get_ui(q);
        if (round_bit && (sticky || (kept & 1UL))) ++kept;
        result = std::ldexp(static_cast<double>(kept), static_cast<int>(lowest_kept));
    }
    mpz_clears(num, den, q, r, nullptr);
    return result;
}

}  // namespace

double Rational::to_double() const {
    if (is_zero()) return 0.0;
    mpz_t magnitude;
    mpz_init(magnitude);
    mpz_abs(magnitude, mpq_numref(value_));
    const double result = positive_quotient_to_double(magnitude, mpq_denref(value_));
    mpz_clear(magnitude);
    return sign() < 0 ? -result : result;
}

}  // namespace brevant
