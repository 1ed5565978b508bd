#include "exact/bigint.hpp"

#include <memory>

namespace brevant {

BigInt::BigInt() { mpz_init(value_); }
BigInt::BigInt(long value) { mpz_init_set_si(value_, value); }
BigInt::BigInt(const BigInt& other) { mpz_init_set(value_, other.value_); }
BigInt::BigInt(BigInt&& other) noexcept {
    mpz_init(value_);
    mpz_swap(value_, other.value_);
}
BigInt& BigInt::operator=(const BigInt& other) {
    mpz_set(value_, other.value_);
    return *this;
}
BigInt& BigInt::operator=(BigInt&& other) noexcept {
    mpz_swap(value_, other.value_);
    return *this;
}
BigInt::~BigInt() { mpz_clear(value_); }

BigInt BigInt::from_digits(const std::string& digits) {
    BigInt r;
    mpz_set_str(r.value_, digits.c_str(), 10);
    return r;
}

BigInt operator+(const BigInt& a, const BigInt& b) {
    BigInt r;
    mpz_add(r.value_, a.value_, b.value_);
    return r;
}
BigInt operator-(const BigInt& a, const BigInt& b) {
    BigInt r;
    mpz_sub(r.value_, a.value_, b.value_);
    return r;
}
BigInt operator*(const BigInt& a, const BigInt& b) {
    BigInt r;
    mpz_mul(r.value_, a.value_, b.value_);
    return r;
}
BigInt BigInt::operator-() const {
    BigInt r;
    mpz_neg(r.value_, value_);
    return r;
}
BigInt divexact(const BigInt& a, const BigInt& b) {
    BigInt r;
    mpz_divexact(r.value_, a.value_, b.value_);
    return r;
}
BigInt gcd(const BigInt& a, const BigInt& b) {
    BigInt r;
    mpz_gcd(r.value_, a.value_, b.value_);
    return r;
}
BigInt lcm(const BigInt& a, const BigInt& b) {
    BigInt r;
    mpz_lcm(r.value_, a.value_, b.value_);
    return r;
}
BigInt isqrt(const BigInt& a) {
    BigInt r;
    mpz_sqrt(r.value_, a.value_);
    return r;
}
BigInt BigInt::abs() const {
    BigInt r;
    mpz_abs(r.value_, value_);
    return r;
}

std::string BigInt::str() const {
    std::string text(mpz_sizeinbase(value_, 10) + 2, '\0');
    mpz_get_str(text.data(), 10, value_);
    text.resize(text.find('\0'));
    return text;
}

}  // namespace brevant
