#include "exact/rational_rotation.hpp"

#include <optional>
#include <vector>

#include "exact/failure.hpp"
#include "exact/interrupt.hpp"
#include "exact/trig_bounds.hpp"

namespace brevant {
namespace {

BigInt floor_of(const Rational& x) { return floor_div(x.numerator(), x.denominator()); }

// The angle in [−180, 180) degrees that turns as `degrees` does.
Rational reduced_degrees(const Rational& degrees) {
    const Rational turns((floor_of((degrees + Rational(180)) / Rational(360))));
    return degrees - turns * Rational(360);
}

// Bounds on v·k and v/k for a number v and a positive k known to lie in `k`.
Rational times_up(const Rational& v, const Enclosure& k) { return v * (v.sign() >= 0 ? k.hi : k.lo); }
Rational times_down(const Rational& v, const Enclosure& k) { return v * (v.sign() >= 0 ? k.lo : k.hi); }
Rational over_up(const Rational& v, const Enclosure& k) { return v / (v.sign() >= 0 ? k.lo : k.hi); }
Rational over_down(const Rational& v, const Enclosure& k) { return v / (v.sign() >= 0 ? k.hi : k.lo); }

// The half angle φ must lie within h of c_mid·π modulo π, c_mid in [−1/2, 1/2). With h >= π/4
// that window reaches 0 or π/2 modulo π: the identity where it reaches 0, else the half turn.
// Nothing while this precision cannot tell.
std::optional<AxisTurn> wide_turn(const Rational& c_mid, const Rational& h, const Enclosure& pi) {
    const Rational c = c_mid.abs();
    if (c * pi.hi <= h) return AxisTurn{BigInt(1), BigInt(0)};
    if (c * pi.lo > h) return AxisTurn{BigInt(0), BigInt(1)};
    return std::nullopt;
}

// With h < π/4 the window stays inside one chart: around 0 (|angle| <= 90 degrees) the
// tangent of φ, whose values b/a·√m are taken as r = b/a; else the cotangent, whose values
// a/(b·√m) are taken as s = a/b. Both rise with the chart's own angle x, which ranges over
// [c·π − h, c·π + h] inside (−π/2, π/2). The bounds are taken inward, so that every rational between
// them is a turn within the tolerance, and for |c| then negated, so that a turn and its inverse
// are found alike.
std::optional<AxisTurn> narrow_turn(const BigInt& m, const Rational& alpha, const Rational& h, const Enclosure& pi,
                                    unsigned long bits) {
    const Rational c_mid = alpha / Rational(360);
    const bool near_zero = alpha.abs() <= Rational(90);
    const Rational chart_c = near_zero ? c_mid : Rational(alpha.sign() > 0 ? 1 : -1, 2) - c_mid;
    const Rational c = chart_c.abs();
    std::optional<Enclosure> at_low_end = tan_enclosure(c * pi.hi - h, bits);
    std::optional<Enclosure> at_high_end = tan_enclosure(c * pi.lo + h, bits);
    if (!at_low_end || !at_high_end) return std::nullopt;
    const Enclosure root = sqrt_enclosure(m, bits);
    const Rational lo = near_zero ? over_up(at_low_end->hi, root) : times_up(at_low_end->hi, root);
    const Rational hi = near_zero ? over_down(at_high_end->lo, root) : times_down(at_high_end->lo, root);
    if (lo > hi) return std::nullopt;
    Rational v = simplest_between(lo, hi);
    if (chart_c.sign() < 0) v = -v;
    if (near_zero) return AxisTurn{v.denominator(), v.numerator()};
    if (v.is_zero()) return AxisTurn{BigInt(0), BigInt(1)};
    return AxisTurn{v.numerator().abs(), v.sign() > 0 ? v.denominator() : -v.denominator()};
}

unsigned long bit_length(const BigInt& n) { return mpz_sizeinbase(n.raw(), 2); }

}  // namespace

Matrix3 turn_matrix(const IntegerDirection& d, const AxisTurn& turn) {
    const BigInt& a = turn.a;
    const BigInt& b = turn.b;
    const BigInt m = (d[0] * d[0] + d[1] * d[1]) + d[2] * d[2];
    const BigInt b2 = b * b;
    const BigInt norm = a * a + b2 * m;
    const BigInt diagonal = a * a - b2 * m;
    const BigInt twice_ab = BigInt(2) * a * b;
    // [d]×: row i holds the coefficients of (d × v)_i
    const std::array<IntegerDirection, 3> d_cross{{{BigInt(0), -d[2], d[1]}, {d[2], BigInt(0), -d[0]},
                                                   {-d[1], d[0], BigInt(0)}}};
    Matrix3 r;
    for (std::size_t i = 0; i < 3; ++i) {
        for (std::size_t j = 0; j < 3; ++j) {
            BigInt entry = BigInt(2) * b2 * d[i] * d[j] + twice_ab * d_cross[i][j];
            if (i == j) entry = entry + diagonal;
            r[i][j] = Rational(entry, norm);
        }
    }
    return r;
}

AxisTurn turn_near(const IntegerDirection& d, const Rational& degrees, const Rational& tolerance) {
    const BigInt m = (d[0] * d[0] + d[1] * d[1]) + d[2] * d[2];
    if (m.sign() == 0 || tolerance.sign() <= 0) throw InternalFailure("index out of range: no turn to search");
    const Rational alpha = reduced_degrees(degrees);
    const Rational h = tolerance / Rational(2);
    // Enough bits to see h, then more while the bounds cannot decide; they converge to the true
    // values, which differ (h > 0 and π is irrational), so the loop ends.
    unsigned long bits = 64 + bit_length(h.denominator()) + bit_length(m) / 2;
    for (;; bits *= 2) {
        poll_interrupt();
        const Enclosure pi = pi_enclosure(bits);
        std::optional<AxisTurn> turn;
        if (h >= pi.hi / Rational(4)) {
            turn = wide_turn(alpha / Rational(360), h, pi);
        } else if (h < pi.lo / Rational(4)) {
            turn = narrow_turn(m, alpha, h, pi, bits);
        }
        if (turn) return *turn;
    }
}

Rational simplest_between(const Rational& lo, const Rational& hi) {
    if (lo.sign() <= 0 && hi.sign() >= 0) return Rational();
    if (hi.sign() < 0) return -simplest_between(-hi, -lo);
    // 0 < lo <= hi: the continued fraction terms the two ends share, then the least integer past
    // where they part.
    std::vector<BigInt> terms;
    Rational low = lo;
    Rational high = hi;
    for (;;) {
        poll_interrupt();
        const BigInt whole = floor_of(low);
        const Rational whole_r(whole);
        if (whole_r == low) {
            terms.push_back(whole);
            break;
        }
        if (whole_r + Rational(1) <= high) {
            terms.push_back(whole + BigInt(1));
            break;
        }
        terms.push_back(whole);
        Rational next_low = Rational(1) / (high - whole_r);
        high = Rational(1) / (low - whole_r);
        low = std::move(next_low);
    }
    Rational value(terms.back());
    for (std::size_t i = terms.size() - 1; i-- > 0;) value = Rational(terms[i]) + Rational(1) / value;
    return value;
}

}  // namespace brevant
