// Rational: an exact fraction of two arbitrary-precision integers, always reduced, with a
// positive denominator; zero is 0/1. A plain value: operations return new values.
//
// Notation: n/d is the reduced fraction; "the text form" is n, "/", d in decimal ('7/1', '-3/4').
// A value is "inline" when |n| < 2^63 and d < 2^63: it is then held in two machine words and
// copying it never allocates. Other values live in a GMP fraction on the heap. Every operation
// stores its result inline exactly when it fits, so each value has a single representation.
#pragma once

#include <compare>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>

#include <gmp.h>

#include "exact/bigint.hpp"

namespace brevant {

class Rational {
public:
    Rational() : words_{0}, den_(1) {}               // 0/1
    Rational(long value) : words_{value}, den_(1) {  // NOLINT: n/1
        if (value == std::numeric_limits<long>::min()) become_big_integer(value);
    }
    explicit Rational(const BigInt& numerator);  // n/1
    // numerator/denominator, reduced; a zero denominator fails with "denominator == 0".
    Rational(const BigInt& numerator, const BigInt& denominator);
    Rational(const Rational& other) : words_(other.words_), den_(other.den_) {
        if (!other.is_inline()) copy_big(other);
    }
    Rational(Rational&& other) noexcept : words_(other.words_), den_(other.den_) {
        other.words_.num = 0;
        other.den_ = 1;
    }
    Rational& operator=(const Rational& other);
    Rational& operator=(Rational&& other) noexcept {
        std::swap(words_, other.words_);
        std::swap(den_, other.den_);
        return *this;
    }
    ~Rational() {
        if (!is_inline()) free_big();
    }

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

    int sign() const {
        return is_inline() ? (words_.num > 0) - (words_.num < 0) : mpq_sgn(words_.big);
    }
    bool is_zero() const { return sign() == 0; }
    friend bool operator==(const Rational& a, const Rational& b) {
        if (a.is_inline() != b.is_inline()) return false;
        if (a.is_inline()) return a.words_.num == b.words_.num && a.den_ == b.den_;
        return mpq_equal(a.words_.big, b.words_.big) != 0;
    }
    friend std::strong_ordering operator<=>(const Rational& a, const Rational& b);

    BigInt numerator() const;
    BigInt denominator() const;

    std::string str() const;  // the text form n/d
    // Equal values hash alike: every value has a single representation.
    std::size_t hash() const;
    double to_double() const;  // nearest double, ties to even, +-inf on overflow, gradual underflow
    // The nearest double to value·2^exponent, rounded like to_double().
    double to_double_scaled(long exponent) const;
    // For a nonzero value, the e with 2^(e − 1) <= |value| < 2^(e + 1) from the sizes of n and d.
    long magnitude_exponent() const;

    // The machine words of an inline value, for exact predicates with integer fast paths; the
    // two accessors may be read only when is_inline().
    bool is_inline() const { return den_ != 0; }
    std::int64_t inline_numerator() const { return words_.num; }
    std::int64_t inline_denominator() const { return den_; }

private:
    struct Small;  // the machine-word arithmetic on inline values
    struct Big;    // the GMP arithmetic on everything else, and the moves between the two

    void become_big_integer(long value);
    void copy_big(const Rational& other);
    void free_big();

    union Words {
        std::int64_t num;  // the numerator of an inline value
        mpq_ptr big;       // the owned heap fraction of any other value
    };
    Words words_;
    std::int64_t den_;  // the denominator of an inline value, 0 for a heap value
};

struct RationalHash {
    std::size_t operator()(const Rational& r) const { return r.hash(); }
};

// Reads a number text: an integer piece, or two pieces "numerator/denominator". A rejected piece
// fails with an InternalFailure naming its fault kind (Empty or InvalidDigit) and the text.
Rational parse_r(std::string_view text);

}  // namespace brevant
