// BigInt: an arbitrary-precision signed integer, a plain value.
#pragma once

#include <compare>
#include <string>

#include <gmp.h>

namespace brevant {

class BigInt {
public:
    BigInt();
    BigInt(long value);  // NOLINT: implicit on purpose, integers read naturally
    BigInt(const BigInt& other);
    BigInt(BigInt&& other) noexcept;
    BigInt& operator=(const BigInt& other);
    BigInt& operator=(BigInt&& other) noexcept;
    ~BigInt();

    // Reads plain decimal digits (no sign, no separators); the caller has validated them.
    static BigInt from_digits(const std::string& digits);

    friend BigInt operator+(const BigInt& a, const BigInt& b);
    friend BigInt operator-(const BigInt& a, const BigInt& b);
    friend BigInt operator*(const BigInt& a, const BigInt& b);
    BigInt operator-() const;
    // Exact division: the caller knows that b divides a.
    friend BigInt divexact(const BigInt& a, const BigInt& b);
    friend BigInt gcd(const BigInt& a, const BigInt& b);
    friend BigInt lcm(const BigInt& a, const BigInt& b);
    // Integer square root rounded down; the argument must not be negative.
    friend BigInt isqrt(const BigInt& a);
    // a / b rounded toward −∞ and toward +∞; a zero b fails with a division by zero.
    friend BigInt floor_div(const BigInt& a, const BigInt& b);
    friend BigInt ceil_div(const BigInt& a, const BigInt& b);
    // a · 2^bits.
    friend BigInt shift_left(const BigInt& a, unsigned long bits);
    BigInt abs() const;

    int sign() const { return mpz_sgn(value_); }
    friend bool operator==(const BigInt& a, const BigInt& b) { return mpz_cmp(a.value_, b.value_) == 0; }
    friend std::strong_ordering operator<=>(const BigInt& a, const BigInt& b) {
        return mpz_cmp(a.value_, b.value_) <=> 0;
    }

    std::string str() const;  // plain decimal, "-" for negatives

    const mpz_t& raw() const { return value_; }
    mpz_t& raw() { return value_; }

private:
    mpz_t value_;
};

}  // namespace brevant
