// Times Rational add, multiply and compare on small values, and the plane side test, against plain
// mpq_t code doing the same work in the same run (the mpq_t results go into storage reused across
// calls, the best case for the library). Prints nanoseconds per operation, medians of repeated runs.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

#include <gmp.h>

#include <time.h>

#include "exact/interrupt.hpp"
#include "exact/plane.hpp"
#include "exact/stats.hpp"

namespace {

using brevant::BigInt;
using brevant::Plane;
using brevant::Rational;
using brevant::Vec3;

constexpr std::size_t kValues = 4096;
constexpr int kRounds = 21;

struct Fraction {
    long num;
    long den;
};

std::vector<Fraction> random_fractions(std::mt19937_64& rng, long max_num, long max_den) {
    std::uniform_int_distribution<long> num(-max_num, max_num);
    std::uniform_int_distribution<long> den(1, max_den);
    std::vector<Fraction> values(kValues);
    for (Fraction& f : values) f = {num(rng), den(rng)};
    return values;
}

std::vector<Rational> as_rationals(const std::vector<Fraction>& values) {
    std::vector<Rational> out;
    out.reserve(values.size());
    for (const Fraction& f : values) out.emplace_back(BigInt(f.num), BigInt(f.den));
    return out;
}

// Owns an array of initialised mpq_t.
class MpqArray {
public:
    explicit MpqArray(std::size_t n) : values_(n) {
        for (mpq_t& q : values_) mpq_init(q);
    }
    explicit MpqArray(const std::vector<Fraction>& fractions) : MpqArray(fractions.size()) {
        for (std::size_t i = 0; i < fractions.size(); ++i) {
            mpq_set_si(values_[i], fractions[i].num, static_cast<unsigned long>(fractions[i].den));
            mpq_canonicalize(values_[i]);
        }
    }
    MpqArray(const MpqArray&) = delete;
    MpqArray& operator=(const MpqArray&) = delete;
    ~MpqArray() {
        for (mpq_t& q : values_) mpq_clear(q);
    }
    mpq_t& operator[](std::size_t i) { return values_[i]; }

private:
    std::vector<mpq_t> values_;
};

// Median over kRounds of the time per operation of one pass of `pass`, which runs kValues operations.
double median_ns(const std::function<void()>& pass) {
    pass();  // warm up caches and allocator
    std::array<double, kRounds> times{};
    for (double& t : times) {
        const auto start = std::chrono::steady_clock::now();
        pass();
        const auto stop = std::chrono::steady_clock::now();
        t = std::chrono::duration<double, std::nano>(stop - start).count() / kValues;
    }
    std::nth_element(times.begin(), times.begin() + kRounds / 2, times.end());
    return times[kRounds / 2];
}

volatile long sink;

void print_row(const char* name, double rational_ns, double mpq_ns, const char* note = "") {
    std::printf("%-34s %12.1f %12.1f %8.2f  %s\n", name, rational_ns, mpq_ns, rational_ns / mpq_ns, note);
}

using RationalOp = Rational (*)(const Rational&, const Rational&);
using MpqOp = void (*)(mpq_ptr, mpq_srcptr, mpq_srcptr);

void time_binary(const char* name, const std::vector<Fraction>& xs, const std::vector<Fraction>& ys, RationalOp op,
                 MpqOp mpq_op) {
    const std::vector<Rational> a = as_rationals(xs);
    const std::vector<Rational> b = as_rationals(ys);
    std::vector<Rational> out(kValues);
    const double rational_ns = median_ns([&] {
        for (std::size_t i = 0; i < kValues; ++i) out[i] = op(a[i], b[i]);
        sink = out[kValues / 2].sign();
    });
    MpqArray qa(xs), qb(ys), qout(kValues);
    const double mpq_ns = median_ns([&] {
        for (std::size_t i = 0; i < kValues; ++i) mpq_op(qout[i], qa[i], qb[i]);
        sink = mpq_sgn(qout[kValues / 2]);
    });
    print_row(name, rational_ns, mpq_ns);
}

void time_compare(const char* name, const std::vector<Fraction>& xs, const std::vector<Fraction>& ys) {
    const std::vector<Rational> a = as_rationals(xs);
    const std::vector<Rational> b = as_rationals(ys);
    const double rational_ns = median_ns([&] {
        long less = 0;
        for (std::size_t i = 0; i < kValues; ++i) less += a[i] < b[i];
        sink = less;
    });
    MpqArray qa(xs), qb(ys);
    const double mpq_ns = median_ns([&] {
        long less = 0;
        for (std::size_t i = 0; i < kValues; ++i) less += mpq_cmp(qa[i], qb[i]) < 0;
        sink = less;
    });
    print_row(name, rational_ns, mpq_ns);
}

// Planes and points from three random fractions each; every fourth point is moved onto its plane,
// as points on axis-aligned faces so often are.
void time_side(const char* name, std::mt19937_64& rng, long max_num, long max_den) {
    std::vector<std::array<Fraction, 4>> planes(kValues);
    std::vector<std::array<Fraction, 3>> points(kValues);
    const std::vector<Fraction> pool = random_fractions(rng, max_num, max_den);
    std::uniform_int_distribution<std::size_t> pick(0, kValues - 1);
    for (std::size_t i = 0; i < kValues; ++i) {
        for (Fraction& f : planes[i]) f = pool[pick(rng)];
        for (Fraction& f : points[i]) f = pool[pick(rng)];
    }
    std::vector<Plane> exact_planes;
    std::vector<Vec3> exact_points;
    for (std::size_t i = 0; i < kValues; ++i) {
        const std::vector<Rational> n = as_rationals({planes[i].begin(), planes[i].end()});
        const std::vector<Rational> p = as_rationals({points[i].begin(), points[i].end()});
        Plane plane{{n[0], n[1], n[2]}, n[3]};
        if (i % 4 == 0) plane.offset = brevant::dot(plane.normal, {p[0], p[1], p[2]});
        exact_planes.push_back(plane);
        exact_points.push_back({p[0], p[1], p[2]});
    }
    brevant::reset_side_test_counts();
    const double rational_ns = median_ns([&] {
        long total = 0;
        for (std::size_t i = 0; i < kValues; ++i) total += exact_planes[i].side(exact_points[i]);
        sink = total;
    });
    const brevant::SideTestCounts counts = brevant::side_test_counts();
    char note[32];
    std::snprintf(note, sizeof note, "%.1f%% fell back",
                  100.0 * static_cast<double>(counts.fallbacks) / static_cast<double>(counts.total));
    MpqArray qn(4 * kValues), qp(3 * kValues);
    for (std::size_t i = 0; i < kValues; ++i) {
        const std::string offset = exact_planes[i].offset.str();
        mpq_set_str(qn[4 * i + 3], offset.c_str(), 10);
        for (std::size_t k = 0; k < 3; ++k) {
            mpq_set_str(qn[4 * i + k], exact_planes[i].normal[k].str().c_str(), 10);
            mpq_set_str(qp[3 * i + k], exact_points[i][k].str().c_str(), 10);
        }
    }
    MpqArray scratch(2);
    const double mpq_ns = median_ns([&] {
        long total = 0;
        for (std::size_t i = 0; i < kValues; ++i) {
            mpq_mul(scratch[0], qn[4 * i], qp[3 * i]);
            for (std::size_t k = 1; k < 3; ++k) {
                mpq_mul(scratch[1], qn[4 * i + k], qp[3 * i + k]);
                mpq_add(scratch[0], scratch[0], scratch[1]);
            }
            mpq_sub(scratch[0], scratch[0], qn[4 * i + 3]);
            total += mpq_sgn(scratch[0]);
        }
        sink = total;
    });
    print_row(name, rational_ns, mpq_ns, note);
}

// What a poll costs beside the cheapest steps that poll: the coarse clock it reads, against the
// precise one (read here the same way).
void time_poll() {
    timespec now{};
    const double poll_ns = median_ns([] {
        for (std::size_t i = 0; i < kValues; ++i) brevant::poll_interrupt();
    });
    const double precise_ns = median_ns([&] {
        long total = 0;
        for (std::size_t i = 0; i < kValues; ++i) {
            clock_gettime(CLOCK_MONOTONIC, &now);
            total += now.tv_nsec;
        }
        sink = total;
    });
    print_row("poll (coarse clock) vs precise clock", poll_ns, precise_ns);
}

Rational add(const Rational& a, const Rational& b) { return a + b; }
Rational mul(const Rational& a, const Rational& b) { return a * b; }

}  // namespace

int main() {
    std::mt19937_64 rng(20240611);
    const std::vector<Fraction> ints_a = random_fractions(rng, 1000, 1);
    const std::vector<Fraction> ints_b = random_fractions(rng, 1000, 1);
    const std::vector<Fraction> fracs_a = random_fractions(rng, 1000, 100);
    const std::vector<Fraction> fracs_b = random_fractions(rng, 1000, 100);
    const std::vector<Fraction> wide_a = random_fractions(rng, 1L << 40, 1L << 20);
    const std::vector<Fraction> wide_b = random_fractions(rng, 1L << 40, 1L << 20);

    std::printf("%-34s %12s %12s %8s\n", "operation (ns per op, median)", "Rational", "mpq_t", "ratio");
    time_binary("add, integers |n| <= 1000", ints_a, ints_b, add, mpq_add);
    time_binary("add, fractions d <= 100", fracs_a, fracs_b, add, mpq_add);
    time_binary("add, fractions n < 2^40, d < 2^20", wide_a, wide_b, add, mpq_add);
    time_binary("multiply, integers |n| <= 1000", ints_a, ints_b, mul, mpq_mul);
    time_binary("multiply, fractions d <= 100", fracs_a, fracs_b, mul, mpq_mul);
    time_binary("multiply, n < 2^40, d < 2^20", wide_a, wide_b, mul, mpq_mul);
    time_compare("compare, fractions d <= 100", fracs_a, fracs_b);
    time_side("plane side, integers", rng, 1000, 1);
    time_side("plane side, fractions d <= 100", rng, 1000, 100);
    time_side("plane side, n < 2^40, d < 2^20", rng, 1L << 40, 1L << 20);
    time_poll();
    return 0;
}
