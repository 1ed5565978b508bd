// Rational arithmetic checked against GMP's own mpq arithmetic on values on both sides of the
// inline/heap boundary, and the representation rule: a value is inline exactly when |n| and d
// are below 2^63.
#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gmp.h>
#include <gtest/gtest.h>

#include "exact/failure.hpp"
#include "exact/rational.hpp"

namespace brevant {
namespace {

Rational two_to(int k) {
    Rational r(1);
    for (int i = 0; i < k; ++i) r *= Rational(2);
    return r;
}

// An mpq_t holding a fraction text, canonicalised.
class Reference {
public:
    explicit Reference(const std::string& text = "0") {
        mpq_init(q_);
        mpq_set_str(q_, text.c_str(), 10);
        mpq_canonicalize(q_);
    }
    Reference(const Reference&) = delete;
    ~Reference() { mpq_clear(q_); }
    mpq_ptr get() { return q_; }
    // mpq_get_str leaves out "/1" for integers; the text form always writes it.
    std::string str() const {
        char* raw = mpq_get_str(nullptr, 10, q_);
        std::string text(raw);
        void (*release)(void*, std::size_t);
        mp_get_memory_functions(nullptr, nullptr, &release);
        release(raw, text.size() + 1);
        return mpz_cmp_ui(mpq_denref(q_), 1) == 0 ? text + "/1" : text;
    }
    bool fits_inline() const {
        return mpz_sizeinbase(mpq_numref(q_), 2) <= 63 && mpz_sizeinbase(mpq_denref(q_), 2) <= 63;
    }

private:
    mpq_t q_;
};

BigInt integer(const std::string& decimal) {
    return decimal[0] == '-' ? -BigInt::from_digits(decimal.substr(1)) : BigInt::from_digits(decimal);
}

// Magnitudes 2^k + δ for numerators and denominators, per pool.
std::vector<std::string> magnitudes(const std::string& pool) {
    const std::vector<int> exponents = pool == "inline"     ? std::vector<int>{1, 2, 7, 31, 32, 52, 53, 54, 61}
                                       : pool == "boundary" ? std::vector<int>{61, 62, 63, 64, 65}
                                                            : std::vector<int>{64, 65, 100, 126, 127, 128, 129, 200};
    std::vector<std::string> out;
    for (int k : exponents) {
        for (long delta : {-3L, -1L, 0L, 1L, 3L}) {
            if ((1L << std::min(k, 62)) > -delta) out.push_back((two_to(k) + Rational(delta)).numerator().str());
        }
    }
    if (pool == "inline") out.insert(out.end(), {"1", "2", "3", "6", "10", "12", "100", "360", "1001"});
    return out;
}

// Random reduced-or-not fractions from a pool; shared factors between numerator and denominator
// make the reduction itself cross the boundary (2^64·3 / 6 is inline once reduced).
std::vector<std::string> fraction_texts(const std::string& pool, std::mt19937_64& rng, int count) {
    const std::vector<std::string> mags = magnitudes(pool);
    std::uniform_int_distribution<std::size_t> pick(0, mags.size() - 1);
    std::uniform_int_distribution<int> coin(0, 3);
    std::vector<std::string> out{"0/1"};
    for (int i = 0; i < count; ++i) {
        Reference n(mags[pick(rng)]), d(mags[pick(rng)]);
        if (coin(rng) == 0) {
            Reference factor(mags[pick(rng)]);
            mpq_mul(n.get(), n.get(), factor.get());
            mpq_mul(d.get(), d.get(), factor.get());
        }
        const std::string n_text = n.str(), d_text = d.str();
        out.push_back((coin(rng) < 2 ? "-" : "") + n_text.substr(0, n_text.find('/')) + "/" +
                      d_text.substr(0, d_text.find('/')));
    }
    return out;
}

Rational from_text(const std::string& text) {
    const std::size_t slash = text.find('/');
    return Rational(integer(text.substr(0, slash)), integer(text.substr(slash + 1)));
}

void expect_same(const Rational& got, Reference& want, const std::string& what) {
    EXPECT_EQ(got.str(), want.str()) << what;
    EXPECT_EQ(got.is_inline(), want.fits_inline()) << what;
    EXPECT_EQ(got.sign(), mpq_sgn(want.get())) << what;
}

class RationalVersusGmp : public ::testing::TestWithParam<const char*> {};

// Every operation on every pair of values of a pool; the in-place forms take their own route for a
// heap left operand and must agree with the plain operators, also when the operand is the value itself.
TEST_P(RationalVersusGmp, OperationsConversionsAndOrder) {
    std::mt19937_64 rng(11);
    const std::vector<std::string> left = fraction_texts(GetParam(), rng, 60);
    const std::vector<std::string> right = fraction_texts(GetParam(), rng, 60);
    for (const std::string& lt : left) {
        const Rational a = from_text(lt);
        Reference qa(lt), negated, absolute;
        expect_same(a, qa, lt);
        EXPECT_EQ(a.numerator().str() + "/" + a.denominator().str(), qa.str()) << lt;
        mpq_neg(negated.get(), qa.get());
        mpq_abs(absolute.get(), qa.get());
        expect_same(-a, negated, "-" + lt);
        expect_same(a.abs(), absolute, "abs " + lt);
        Rational twice = a;
        twice += twice;
        EXPECT_EQ(twice, a * Rational(2)) << lt;
        for (const std::string& rt : right) {
            const Rational b = from_text(rt);
            Reference qb(rt), sum, difference, product;
            mpq_add(sum.get(), qa.get(), qb.get());
            mpq_sub(difference.get(), qa.get(), qb.get());
            mpq_mul(product.get(), qa.get(), qb.get());
            const std::string pair = lt + " , " + rt;
            expect_same(a + b, sum, "+ " + pair);
            expect_same(a - b, difference, "- " + pair);
            expect_same(a * b, product, "* " + pair);
            if (mpq_sgn(qb.get()) != 0) {
                Reference quotient;
                mpq_div(quotient.get(), qa.get(), qb.get());
                expect_same(a / b, quotient, "/ " + pair);
            }
            Rational in_sum = a, in_difference = a, in_product = a;
            in_sum += b;
            in_difference -= b;
            in_product *= b;
            expect_same(in_sum, sum, "+= " + pair);
            expect_same(in_difference, difference, "-= " + pair);
            expect_same(in_product, product, "*= " + pair);
            const int order = mpq_cmp(qa.get(), qb.get());
            EXPECT_EQ((a <=> b) < 0, order < 0) << pair;
            EXPECT_EQ((a <=> b) > 0, order > 0) << pair;
            EXPECT_EQ(a == b, mpq_equal(qa.get(), qb.get()) != 0) << pair;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Pools, RationalVersusGmp, ::testing::Values("inline", "boundary", "heap"));

// Sums over one denominator take their own path (one gcd, with the denominator alone): numerators
// and the shared denominator near the ends of the inline range, sums that cancel to integers.
TEST(InlineSums, OverOneDenominatorAgreeWithGmp) {
    std::mt19937_64 rng(5);
    const std::vector<long> denominators{2, 6, 1000, 1024, 999983, (1L << 62) - 57, std::numeric_limits<long>::max()};
    std::uniform_int_distribution<long> any(-std::numeric_limits<long>::max(), std::numeric_limits<long>::max());
    std::uniform_int_distribution<long> small(-3000, 3000);
    for (long d : denominators) {
        for (int trial = 0; trial < 200; ++trial) {
            const long n1 = trial % 2 ? any(rng) : small(rng), n2 = trial % 3 ? any(rng) : small(rng);
            const Rational a = Rational(n1) / Rational(d), b = Rational(n2) / Rational(d);
            if (a.denominator() != b.denominator()) continue;  // reduced apart: the general path
            Reference qa(a.str()), qb(b.str()), sum, difference;
            mpq_add(sum.get(), qa.get(), qb.get());
            mpq_sub(difference.get(), qa.get(), qb.get());
            expect_same(a + b, sum, a.str() + " + " + b.str());
            expect_same(a - b, difference, a.str() + " - " + b.str());
        }
    }
}

const long kMin = std::numeric_limits<long>::min();
const long kMax = std::numeric_limits<long>::max();

// Values on the edges of the inline range, where a result just fits or just does not.
TEST(InlineEdges, TextAndRepresentation) {
    const struct {
        const char* name;
        Rational value;
        const char* text;
        bool inline_;
    } cases[] = {
        {"largest word", Rational(kMax), "9223372036854775807/1", true},
        {"smallest long stays exact", Rational(kMin), "-9223372036854775808/1", false},
        {"negated smallest long", -Rational(kMin), "9223372036854775808/1", false},
        {"abs of smallest long", Rational(kMin).abs(), "9223372036854775808/1", false},
        {"smallest long plus one", Rational(kMin) + Rational(1), "-9223372036854775807/1", true},
        {"largest word plus one", Rational(kMax) + Rational(1), "9223372036854775808/1", false},
        {"2^62 doubled", two_to(62) * Rational(2), "9223372036854775808/1", false},
        {"-2^62 minus 2^62", -two_to(62) - two_to(62), "-9223372036854775808/1", false},
        {"word product overflowing 128 bits", Rational(kMax) * Rational(kMax) * Rational(kMax),
         "784637716923335095224261902710254454442933591094742482943/1", false},
        {"big quotient cancelling to one", (two_to(70) / Rational(3)) * (Rational(3) / two_to(70)), "1/1", true},
        {"big difference back to a word", (two_to(64) + Rational(5)) - two_to(64), "5/1", true},
        {"big fraction reducing to a word", Rational(integer("36893488147419103232"), integer("1152921504606846976")),
         "32/1", true},
        {"denominator just too wide", Rational(1) / (Rational(kMax) + Rational(1)), "1/9223372036854775808", false},
        {"widest inline denominator", Rational(-1) / Rational(kMax), "-1/9223372036854775807", true},
        {"sum over coprime wide denominators", Rational(1) / Rational(kMax) + Rational(1) / Rational(kMax - 1),
         "18446744073709551613/85070591730234615838173535747377725442", false},
        {"sum cancelling a shared factor", Rational(1, 6) + Rational(1, 3), "1/2", true},
        {"zero from opposite wide values", Rational(kMax, 3) - Rational(kMax, 3), "0/1", true},
        {"negative denominator read", Rational(BigInt(4), BigInt(-6)), "-2/3", true},
        {"zero over negative", Rational(BigInt(0), BigInt(-5)), "0/1", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.value.str(), c.text) << c.name;
        EXPECT_EQ(c.value.is_inline(), c.inline_) << c.name;
    }
}

// Copies and assignments between the two representations keep values apart and intact.
TEST(RationalStorage, CopiesAndAssignmentsAcrossRepresentations) {
    const Rational big = two_to(100) / Rational(3);
    const Rational small(7);
    Rational a = big;
    EXPECT_EQ(a, big);
    a = small;  // heap to inline
    EXPECT_EQ(a.str(), "7/1");
    EXPECT_TRUE(a.is_inline());
    a = big;  // inline to heap
    EXPECT_EQ(a, big);
    Rational b = two_to(90);
    b = a;  // heap to heap
    EXPECT_EQ(b, big);
    b = b;  // self-assignment
    EXPECT_EQ(b, big);
    b += Rational(1);
    EXPECT_NE(a, b);  // the copy does not share limbs
    Rational moved = std::move(b);
    EXPECT_EQ(moved, big + Rational(1));
    EXPECT_EQ(big.str(), "1267650600228229401496703205376/3");
}

TEST(RationalFailures, ZeroDivisorsFailWithTheirMessages) {
    const auto message_of = [](auto&& call) -> std::string {
        try {
            call();
        } catch (const InternalFailure& failure) {
            return failure.what();
        }
        return "no failure";
    };
    EXPECT_EQ(message_of([] { Rational(BigInt(1), BigInt(0)); }), "denominator == 0");
    EXPECT_EQ(message_of([] { (void)(Rational(1) / parse_r("0/3")); }), "division by zero");
    EXPECT_EQ(message_of([] { (void)(two_to(80) / Rational(0)); }), "division by zero");
    EXPECT_THROW((void)(Rational(0) / Rational(0)), InternalFailure);
    EXPECT_THROW((void)(Rational(1) / (two_to(80) - two_to(80))), InternalFailure);
}

TEST(RationalToDouble, ZeroIsPositive) { EXPECT_FALSE(std::signbit(parse_r("-0").to_double())); }

}  // namespace
}  // namespace brevant
