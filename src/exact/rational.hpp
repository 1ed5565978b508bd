// Rational: an exact fraction of two arbitrary-precision integers, always reduced, with a
// positive denominator; zero is 0/1. A plain value: operations return new values.
//
// Notation: n/d is the reduced fraction; "the text form" is n, "/", d in decimal ('7/1', '-3/4').
#pragma once

#include <compare>
#include <string>
#include <string_view>

#include <gmp.h>

#include "exact/bigint.hpp"

namespace brevant {

class Rational {
public:
    Rational();                                 // 0/1
    Rational(long value);                       // NOLINT: n/1
    explicit Rational(const BigInt& numerator);  // n/1
    // numerator/denominator, reduced; a zero denominator fails with "denominator == 0".
    Rational(const BigInt& numerator, const BigInt& denominator);
    Rational(const Rational& other);
    Rational(Rational&& other) noexcept;
    Rational& operator=(const Rational& other);
    Rational& operator=(Rational&& other) noexcept;
    ~Rational();

    friend Rational operator+(const Rational& a, const Rational& b);
    friend Rational operator-(const Rational& a, const Rational& b);
    friend Rational operator*(const Rational& a, const Rational& b);
    // Division by zero fails with InternalFailure("division by zero").
    friend Rational operator/(const Rational& a, const Rational& b);
    Rational operator-() const;
    Rational& operator+=(const Rational& b);
    Rational& operator-=(const Rational& b);
    Rational& operator*=(const Rational& b);
    Rational abs() const;

    int sign() const { return mpq_sgn(value_); }
    bool is_zero() const { return sign() == 0; }
    friend bool operator==(const Rational& a, const Rational& b) { return mpq_equal(a.value_, b.value_) != 0; }
    friend std::strong_ordering operator<=>(const Rational& a, const Rational& b) {
        return mpq_cmp(a.value_, b.value_) <=> 0;
    }

    BigInt numerator() const;
    BigInt denominator() const;

    std::string str() const;  // the text form n/d
    double to_double() const;  // nearest double, ties to even, +-inf on overflow, gradual underflow

private:
    mpq_t value_;
};

// Reads a number text: an integer piece, or two pieces "numerator/denominator". A rejected piece
// fails with an InternalFailure naming its fault kind (Empty or InvalidDigit) and the text.
Rational parse_r(std::string_view text);

}  // namespace brevant
