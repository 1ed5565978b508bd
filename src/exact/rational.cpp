#include "exact/rational.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <memory>
#include <numeric>

#include "exact/failure.hpp"
#include "exact/offload.hpp"
#include "exact/word_gcd.hpp"

namespace brevant {

// An inline numerator or denominator is one 64-bit limb; `long` carries it across the GMP API.
static_assert(GMP_NUMB_BITS == 64 && sizeof(long) == sizeof(std::int64_t));

namespace {

using Int128 = __int128;
using UInt128 = unsigned __int128;

// Inline values keep |n| and d at most 2^63 − 1. Leaving out −2^63 makes negation and absolute
// value safe on words, and bounds every cross product a·d by 2^126, so a sum of two of them
// cannot overflow 128 bits.
constexpr std::int64_t kInlineMax = std::numeric_limits<std::int64_t>::max();

bool fits_inline(Int128 v) { return v >= -kInlineMax && v <= kInlineMax; }
bool fits_inline(mpz_srcptr z) { return mpz_sizeinbase(z, 2) <= 63; }

std::uint64_t magnitude(std::int64_t v) { return v < 0 ? 0 - static_cast<std::uint64_t>(v) : v; }
UInt128 magnitude(Int128 v) { return v < 0 ? 0 - static_cast<UInt128>(v) : v; }

// gcd(|t|, g) for g > 0, reducing t modulo g first only when it does not fit in a word.
std::uint64_t gcd_with(Int128 t, std::uint64_t g) {
    const UInt128 m = magnitude(t);
    const std::uint64_t word = m >> 64 == 0 ? static_cast<std::uint64_t>(m) : static_cast<std::uint64_t>(m % g);
    return word_gcd(word, g);
}

// t / k for a k that divides t, in one word when t fits in one.
Int128 divide_exact(Int128 t, std::uint64_t k) {
    if (k == 1) return t;
    const auto divisor = static_cast<std::int64_t>(k);
    if (t >= std::numeric_limits<std::int64_t>::min() && t <= kInlineMax) return static_cast<std::int64_t>(t) / divisor;
    return t / divisor;
}

std::strong_ordering compare_words(Int128 x, Int128 y) {
    if (x < y) return std::strong_ordering::less;
    if (x > y) return std::strong_ordering::greater;
    return std::strong_ordering::equal;
}

// Owns an mpq_t for the length of one operation.
struct MpqTemp {
    mpq_t q;
    MpqTemp() { mpq_init(q); }
    MpqTemp(const MpqTemp&) = delete;
    MpqTemp& operator=(const MpqTemp&) = delete;
    ~MpqTemp() { mpq_clear(q); }
};

// A heap fraction under construction, released to a Rational once complete. GMP's allocation
// may throw; the struct and its limbs are then freed here.
class HeapMpq {
public:
    HeapMpq() : q_(new __mpq_struct) { mpq_init(q_.get()); }
    HeapMpq(const HeapMpq&) = delete;
    HeapMpq& operator=(const HeapMpq&) = delete;
    ~HeapMpq() {
        if (q_) mpq_clear(q_.get());
    }
    mpq_ptr get() { return q_.get(); }
    mpq_ptr release() { return q_.release(); }

private:
    std::unique_ptr<__mpq_struct> q_;
};

// The size that decides how long an operation may take (exact/offload.hpp).
std::size_t limbs(mpq_srcptr q) { return std::max(mpz_size(mpq_numref(q)), mpz_size(mpq_denref(q))); }
bool integral(mpq_srcptr q) { return mpz_cmp_ui(mpq_denref(q), 1) == 0; }

// Copies of the operands and room for the result of an operation run on a helper thread, which
// may outlive the caller's operands.
struct OffloadedMpq {
    MpqTemp a, b, result;
    int order = 0;

    OffloadedMpq(mpq_srcptr x, mpq_srcptr y) {
        mpq_set(a.q, x);
        mpq_set(b.q, y);
    }
};

void set_words(mpz_ptr z, Int128 v) {
    const UInt128 m = magnitude(v);
    const mp_limb_t limbs[2] = {static_cast<mp_limb_t>(m), static_cast<mp_limb_t>(m >> 64)};
    mpz_t view;
    mpz_set(z, mpz_roinit_n(view, limbs, v < 0 ? -2 : 2));
}

}  // namespace

// The fast path. Each function takes inline operands as words (a/b and c/d, reduced, b, d > 0)
// and follows the textbook reductions (Knuth, TAOCP 4.5.1) so that its result comes out reduced
// without a gcd on the full-width numerator and denominator.
struct Rational::Small {
    // n/d, reduced and in the inline range.
    static Rational make(std::int64_t n, std::int64_t d) {
        Rational r;
        r.words_.num = n;
        r.den_ = d;
        return r;
    }

    // n/d, reduced with d > 0: inline when it fits, on the heap otherwise.
    static Rational from_reduced(Int128 n, Int128 d);

    static Rational add(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d) {
        if (b == 1 && d == 1) return from_reduced(Int128(a) + c, 1);
        if (b == d) {
            // Any factor a + c shares with the result's denominator b divides b.
            const Int128 t = Int128(a) + c;
            const std::uint64_t g = gcd_with(t, static_cast<std::uint64_t>(b));
            return from_reduced(divide_exact(t, g), b / static_cast<std::int64_t>(g));
        }
        const auto g = word_gcd(static_cast<std::uint64_t>(b), static_cast<std::uint64_t>(d));
        // With coprime denominators, a·d + c·b shares no factor with b·d.
        if (g == 1) return from_reduced(Int128(a) * d + Int128(c) * b, Int128(b) * d);
        const auto gi = static_cast<std::int64_t>(g);
        const Int128 t = Int128(a) * (d / gi) + Int128(c) * (b / gi);
        // Any factor that t still shares with the result's denominator b·d/g divides g.
        const std::uint64_t g2 = gcd_with(t, g);
        return from_reduced(divide_exact(t, g2), Int128(b / gi) * (d / static_cast<std::int64_t>(g2)));
    }

    static Rational multiply(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d) {
        if (a == 0 || c == 0) return Rational();  // common on axis-aligned input; spares two gcds
        if (b == 1 && d == 1) return from_reduced(Int128(a) * c, 1);
        // Cancelling across the two fractions leaves nothing to cancel in the product.
        const auto g1 = static_cast<std::int64_t>(word_gcd(magnitude(a), static_cast<std::uint64_t>(d)));
        const auto g2 = static_cast<std::int64_t>(word_gcd(magnitude(c), static_cast<std::uint64_t>(b)));
        return from_reduced(Int128(a / g1) * (c / g2), Int128(b / g2) * (d / g1));
    }

    static std::strong_ordering compare(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d) {
        if (b == d) return compare_words(a, c);
        return compare_words(Int128(a) * d, Int128(c) * b);
    }

    // Below 2^53 both words convert to double exactly, and one IEEE division of exact operands is
    // correctly rounded: nearest, ties to even. (|a/b| >= 2^-53 here, far above the subnormals.)
    static bool converts_exactly(std::int64_t a, std::int64_t b) {
        constexpr std::uint64_t limit = std::uint64_t{1} << 53;
        return magnitude(a) < limit && static_cast<std::uint64_t>(b) < limit;
    }
};

// The general path: GMP on a value of either kind, an inline operand being read through a
// borrowed view of its words; results that fit move back inline.
struct Rational::Big {
    struct View {
        mp_limb_t num_limb;
        mp_limb_t den_limb;
        __mpq_struct q;
    };

    static mpq_srcptr as_mpq(const Rational& r, View& view) {
        if (!r.is_inline()) return r.words_.big;
        view.num_limb = magnitude(r.words_.num);
        view.den_limb = static_cast<mp_limb_t>(r.den_);
        mpz_roinit_n(mpq_numref(&view.q), &view.num_limb, r.words_.num < 0 ? -1 : 1);
        mpz_roinit_n(mpq_denref(&view.q), &view.den_limb, 1);
        return &view.q;
    }

    // The value of a canonical mpq_t, whose limbs are taken over (it is left zero).
    static Rational adopt(mpq_t value) {
        if (fits_inline(mpq_numref(value)) && fits_inline(mpq_denref(value))) {
            return Small::make(mpz_get_si(mpq_numref(value)), mpz_get_si(mpq_denref(value)));
        }
        HeapMpq heap;
        mpq_swap(heap.get(), value);
        return owning(heap.release());
    }

    static Rational owning(mpq_ptr heap) {
        Rational r;
        r.words_.big = heap;
        r.den_ = 0;
        return r;
    }

    // n/d, reduced with d > 0, too wide to be inline.
    static Rational from_wide(Int128 n, Int128 d) {
        HeapMpq heap;
        set_words(mpq_numref(heap.get()), n);
        set_words(mpq_denref(heap.get()), d);
        return owning(heap.release());
    }

    using Op = void (*)(mpq_ptr, mpq_srcptr, mpq_srcptr);

    // How an operation's time grows with the size of its operands: sums and differences of
    // integers are linear; everything else multiplies, and with denominators takes gcds.
    enum class Growth { LinearOnIntegers, SuperLinear };

    // Whether the operation goes to a helper thread (which polls while it waits); if not, polls
    // here first as its size asks (exact/offload.hpp).
    static bool offloads(mpq_srcptr a, mpq_srcptr b, Growth growth) {
        const std::size_t size = std::max(limbs(a), limbs(b));
        if (growth == Growth::LinearOnIntegers && integral(a) && integral(b)) {
            poll_before(size);
            return false;
        }
        if (is_long_operation(size)) return true;
        poll_before(size);
        return false;
    }

    static Rational binary(const Rational& a, const Rational& b, Op op, Growth growth) {
        View va, vb;
        const mpq_srcptr qa = as_mpq(a, va);
        const mpq_srcptr qb = as_mpq(b, vb);
        if (offloads(qa, qb, growth)) {
            auto job = std::make_shared<OffloadedMpq>(qa, qb);
            run_offloaded([job, op] { op(job->result.q, job->a.q, job->b.q); });
            return adopt(job->result.q);
        }
        MpqTemp r;
        op(r.q, qa, qb);
        return adopt(r.q);
    }

    // a = a op b for a heap value a, moving the result inline when it fits.
    static void in_place(Rational& a, const Rational& b, Op op, Growth growth) {
        View vb;
        const mpq_srcptr qb = as_mpq(b, vb);
        if (offloads(a.words_.big, qb, growth)) {
            a = binary(a, b, op, growth);
            return;
        }
        op(a.words_.big, a.words_.big, qb);
        if (fits_inline(mpq_numref(a.words_.big)) && fits_inline(mpq_denref(a.words_.big))) {
            a = adopt(a.words_.big);
        }
    }

    static Rational unary(const Rational& a, void (*op)(mpq_ptr, mpq_srcptr)) {
        poll_before(limbs(a.words_.big));
        MpqTemp r;
        op(r.q, a.words_.big);
        return adopt(r.q);
    }

    static std::strong_ordering compare(const Rational& a, const Rational& b) {
        View va, vb;
        const mpq_srcptr qa = as_mpq(a, va);
        const mpq_srcptr qb = as_mpq(b, vb);
        if (offloads(qa, qb, Growth::LinearOnIntegers)) {
            auto job = std::make_shared<OffloadedMpq>(qa, qb);
            run_offloaded([job] { job->order = mpq_cmp(job->a.q, job->b.q); });
            return job->order <=> 0;
        }
        return mpq_cmp(qa, qb) <=> 0;
    }

    // t made canonical, its gcd taken on a helper thread when it may take long.
    static void canonicalize(mpq_t t) {
        if (!is_long_operation(limbs(t))) {
            poll_before(limbs(t));
            mpq_canonicalize(t);
            return;
        }
        auto job = std::make_shared<MpqTemp>();
        mpq_swap(job->q, t);
        run_offloaded([job] { mpq_canonicalize(job->q); });
        mpq_swap(job->q, t);
    }
};

Rational Rational::Small::from_reduced(Int128 n, Int128 d) {
    if (fits_inline(n) && d <= kInlineMax) return make(static_cast<std::int64_t>(n), static_cast<std::int64_t>(d));
    return Big::from_wide(n, d);
}

void Rational::become_big_integer(long value) {
    MpqTemp t;
    mpq_set_si(t.q, value, 1);
    *this = Big::adopt(t.q);
}

void Rational::copy_big(const Rational& other) {
    HeapMpq heap;
    mpq_set(heap.get(), other.words_.big);
    words_.big = heap.release();
    den_ = 0;
}

void Rational::free_big() {
    mpq_clear(words_.big);
    delete words_.big;
}

Rational::Rational(const BigInt& numerator) : Rational() {
    if (fits_inline(numerator.raw())) {
        words_.num = mpz_get_si(numerator.raw());
        return;
    }
    MpqTemp t;
    mpq_set_z(t.q, numerator.raw());
    *this = Big::adopt(t.q);
}

Rational::Rational(const BigInt& numerator, const BigInt& denominator) : Rational() {
    if (denominator.sign() == 0) throw InternalFailure("denominator == 0");
    if (fits_inline(numerator.raw()) && fits_inline(denominator.raw())) {
        std::int64_t n = mpz_get_si(numerator.raw());
        std::int64_t d = mpz_get_si(denominator.raw());
        const auto g = static_cast<std::int64_t>(word_gcd(magnitude(n), magnitude(d)));
        n /= g;
        d /= g;
        words_.num = d < 0 ? -n : n;
        den_ = d < 0 ? -d : d;
        return;
    }
    MpqTemp t;
    mpz_set(mpq_numref(t.q), numerator.raw());
    mpz_set(mpq_denref(t.q), denominator.raw());
    Big::canonicalize(t.q);
    *this = Big::adopt(t.q);
}

Rational& Rational::operator=(const Rational& other) {
    if (this == &other) return *this;
    if (other.is_inline()) {
        if (!is_inline()) free_big();
        words_ = other.words_;
        den_ = other.den_;
    } else if (!is_inline()) {
        mpq_set(words_.big, other.words_.big);
    } else {
        copy_big(other);
    }
    return *this;
}

Rational operator+(const Rational& a, const Rational& b) {
    if (a.is_inline() && b.is_inline()) return Rational::Small::add(a.words_.num, a.den_, b.words_.num, b.den_);
    return Rational::Big::binary(a, b, mpq_add, Rational::Big::Growth::LinearOnIntegers);
}
Rational operator-(const Rational& a, const Rational& b) {
    if (a.is_inline() && b.is_inline()) return Rational::Small::add(a.words_.num, a.den_, -b.words_.num, b.den_);
    return Rational::Big::binary(a, b, mpq_sub, Rational::Big::Growth::LinearOnIntegers);
}
Rational operator*(const Rational& a, const Rational& b) {
    if (a.is_inline() && b.is_inline()) return Rational::Small::multiply(a.words_.num, a.den_, b.words_.num, b.den_);
    return Rational::Big::binary(a, b, mpq_mul, Rational::Big::Growth::SuperLinear);
}
Rational operator/(const Rational& a, const Rational& b) {
    if (b.is_zero()) throw InternalFailure("division by zero");
    if (a.is_inline() && b.is_inline()) {
        // The reciprocal of c/d is sign(c)·d / |c|, reduced and inline like c/d itself.
        const std::int64_t c = b.words_.num;
        return Rational::Small::multiply(a.words_.num, a.den_, c < 0 ? -b.den_ : b.den_, c < 0 ? -c : c);
    }
    return Rational::Big::binary(a, b, mpq_div, Rational::Big::Growth::SuperLinear);
}
Rational Rational::operator-() const {
    if (is_inline()) return Small::make(-words_.num, den_);
    return Big::unary(*this, mpq_neg);
}
Rational& Rational::operator+=(const Rational& b) {
    if (is_inline()) return *this = *this + b;
    Big::in_place(*this, b, mpq_add, Big::Growth::LinearOnIntegers);
    return *this;
}
Rational& Rational::operator-=(const Rational& b) {
    if (is_inline()) return *this = *this - b;
    Big::in_place(*this, b, mpq_sub, Big::Growth::LinearOnIntegers);
    return *this;
}
Rational& Rational::operator*=(const Rational& b) {
    if (is_inline()) return *this = *this * b;
    Big::in_place(*this, b, mpq_mul, Big::Growth::SuperLinear);
    return *this;
}
Rational Rational::abs() const {
    if (is_inline()) return Small::make(words_.num < 0 ? -words_.num : words_.num, den_);
    return Big::unary(*this, mpq_abs);
}

std::strong_ordering operator<=>(const Rational& a, const Rational& b) {
    if (a.is_inline() && b.is_inline()) return Rational::Small::compare(a.words_.num, a.den_, b.words_.num, b.den_);
    return Rational::Big::compare(a, b);
}

BigInt Rational::numerator() const {
    if (is_inline()) return BigInt(words_.num);
    BigInt r;
    mpz_set(r.raw(), mpq_numref(words_.big));
    return r;
}
BigInt Rational::denominator() const {
    if (is_inline()) return BigInt(den_);
    BigInt r;
    mpz_set(r.raw(), mpq_denref(words_.big));
    return r;
}

std::string Rational::str() const {
    if (is_inline()) {
        // Sign, 19 digits, the bar and 19 digits: written in one buffer, one string made.
        char text[48];
        char* end = std::to_chars(text, text + sizeof text, words_.num).ptr;
        *end++ = '/';
        end = std::to_chars(end, text + sizeof text, den_).ptr;
        return std::string(text, end);
    }
    return numerator().str() + "/" + denominator().str();
}

namespace {

std::size_t mix(std::size_t seed, std::size_t value) {
    return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}

std::size_t hash_limbs(std::size_t seed, mpz_srcptr z) {
    seed = mix(seed, static_cast<std::size_t>(mpz_sgn(z) + 1));
    for (std::size_t i = 0; i < mpz_size(z); ++i) seed = mix(seed, mpz_getlimbn(z, static_cast<mp_size_t>(i)));
    return seed;
}

}  // namespace

std::size_t Rational::hash() const {
    if (is_inline()) return mix(static_cast<std::size_t>(words_.num), static_cast<std::size_t>(den_));
    return hash_limbs(hash_limbs(0, mpq_numref(words_.big)), mpq_denref(words_.big));
}

namespace {

// Nearest double to (a/b)·2^scale for a, b > 0: an integer quotient q with at least 55 significant
// bits plus a sticky bit holds enough to round once, correctly, at the position a double keeps
// (53 bits for normal values, fewer below 2^-1022 where the last kept bit is fixed at 2^-1074).
double positive_quotient_to_double(mpz_srcptr a, mpz_srcptr b, long scale) {
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
    // value = (q + r/den) * 2^(scale - shift), with the top bit of q at 2^top.
    const long top = static_cast<long>(mpz_sizeinbase(q, 2)) - 1 - shift + scale;
    double result;
    if (top > 1023) {
        result = HUGE_VAL;
    } else if (top < -1076) {
        result = 0.0;  // below half the least subnormal
    } else {
        const long lowest_kept = std::max(top - 52, -1074L);
        const long drop = lowest_kept + shift - scale;  // >= 2: q always has bits below the kept ones
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
    if (is_inline() && Small::converts_exactly(words_.num, den_)) {
        return static_cast<double>(words_.num) / static_cast<double>(den_);
    }
    return to_double_scaled(0);
}

double Rational::to_double_scaled(long exponent) const {
    if (is_zero()) return 0.0;
    Big::View view;
    const mpq_srcptr q = Big::as_mpq(*this, view);
    poll_before(limbs(q));  // the quotient has few bits: linear in the size
    mpz_t magnitude;
    mpz_init(magnitude);
    mpz_abs(magnitude, mpq_numref(q));
    const double result = positive_quotient_to_double(magnitude, mpq_denref(q), exponent);
    mpz_clear(magnitude);
    return sign() < 0 ? -result : result;
}

long Rational::magnitude_exponent() const {
    Big::View view;
    const mpq_srcptr q = Big::as_mpq(*this, view);
    return static_cast<long>(mpz_sizeinbase(mpq_numref(q), 2)) - static_cast<long>(mpz_sizeinbase(mpq_denref(q), 2));
}

}  // namespace brevant
