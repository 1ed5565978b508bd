#include "exact/bigint.hpp"

#include <algorithm>
#include <memory>

#include "exact/failure.hpp"
#include "exact/offload.hpp"

namespace brevant {
namespace {

using MpzOp = void (*)(mpz_ptr, mpz_srcptr, mpz_srcptr);

// Copies of the operands and room for the result of an operation run on a helper thread, which
// may outlive the caller's operands.
struct OffloadedMpz {
    BigInt a, b, result;
};

// op(a, b) for a super-linear op, on a helper thread when it may take long (exact/offload.hpp).
BigInt super_linear(const BigInt& a, const BigInt& b, MpzOp op) {
    const std::size_t size = std::max(mpz_size(a.raw()), mpz_size(b.raw()));
    BigInt r;
    if (!is_long_operation(size)) {
        poll_before(size);
        op(r.raw(), a.raw(), b.raw());
        return r;
    }
    auto job = std::make_shared<OffloadedMpz>(OffloadedMpz{a, b, {}});
    run_offloaded([job, op] { op(job->result.raw(), job->a.raw(), job->b.raw()); });
    return std::move(job->result);
}

BigInt linear(const BigInt& a, const BigInt& b, MpzOp op) {
    poll_before(std::max(mpz_size(a.raw()), mpz_size(b.raw())));
    BigInt r;
    op(r.raw(), a.raw(), b.raw());
    return r;
}

// Limbs of a number of this many decimal digits, rounded up (log2(10) < 3.33).
std::size_t limbs_of_digits(std::size_t digits) { return digits * 333 / 100 / 64 + 1; }

}  // namespace

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
    const std::size_t size = limbs_of_digits(digits.size());
    BigInt r;
    if (!is_long_operation(size)) {
        poll_before(size);
        mpz_set_str(r.value_, digits.c_str(), 10);
        return r;
    }
    auto job = std::make_shared<std::pair<std::string, BigInt>>(digits, BigInt());
    run_offloaded([job] { mpz_set_str(job->second.value_, job->first.c_str(), 10); });
    return std::move(job->second);
}

BigInt operator+(const BigInt& a, const BigInt& b) { return linear(a, b, mpz_add); }
BigInt operator-(const BigInt& a, const BigInt& b) { return linear(a, b, mpz_sub); }
BigInt operator*(const BigInt& a, const BigInt& b) { return super_linear(a, b, mpz_mul); }
BigInt BigInt::operator-() const {
    BigInt r;
    mpz_neg(r.value_, value_);
    return r;
}
BigInt divexact(const BigInt& a, const BigInt& b) { return super_linear(a, b, mpz_divexact); }
BigInt gcd(const BigInt& a, const BigInt& b) { return super_linear(a, b, mpz_gcd); }
BigInt lcm(const BigInt& a, const BigInt& b) { return super_linear(a, b, mpz_lcm); }
BigInt isqrt(const BigInt& a) {
    return super_linear(a, BigInt(), [](mpz_ptr r, mpz_srcptr x, mpz_srcptr) { mpz_sqrt(r, x); });
}
BigInt floor_div(const BigInt& a, const BigInt& b) {
    if (b.sign() == 0) throw InternalFailure("division by zero");
    return super_linear(a, b, mpz_fdiv_q);
}
BigInt ceil_div(const BigInt& a, const BigInt& b) {
    if (b.sign() == 0) throw InternalFailure("division by zero");
    return super_linear(a, b, mpz_cdiv_q);
}
BigInt shift_left(const BigInt& a, unsigned long bits) {
    poll_before(mpz_size(a.raw()) + bits / 64);
    BigInt r;
    mpz_mul_2exp(r.value_, a.value_, bits);
    return r;
}
BigInt BigInt::abs() const {
    BigInt r;
    mpz_abs(r.value_, value_);
    return r;
}

namespace {

std::string decimal(mpz_srcptr value) {
    std::string text(mpz_sizeinbase(value, 10) + 2, '\0');
    mpz_get_str(text.data(), 10, value);
    text.resize(text.find('\0'));
    return text;
}

}  // namespace

std::string BigInt::str() const {
    const std::size_t size = mpz_size(value_);
    if (!is_long_operation(size)) {
        poll_before(size);
        return decimal(value_);
    }
    auto job = std::make_shared<std::pair<BigInt, std::string>>(*this, std::string());
    run_offloaded([job] { job->second = decimal(job->first.raw()); });
    return std::move(job->second);
}

}  // namespace brevant
