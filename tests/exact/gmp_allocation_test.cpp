#include "exact/gmp_allocation.hpp"

#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#include <new>
#include <string>

#include <gtest/gtest.h>

#include "exact/bigint.hpp"

namespace brevant {
namespace {

// The address space the process has mapped now, in bytes.
rlim_t mapped_bytes() {
    std::ifstream statm("/proc/self/statm");
    rlim_t pages = 0;
    statm >> pages;
    return pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
}

// Squares a million-digit number until the address-space limit stops it; exits 0 when the
// failure arrives as std::bad_alloc and leaves the operand and the library usable.
[[noreturn]] void square_until_memory_runs_out() {
    use_throwing_gmp_allocation();
    const rlim_t limit = mapped_bytes() + (rlim_t{64} << 20);
    const rlimit address_space{limit, limit};
    if (setrlimit(RLIMIT_AS, &address_space) != 0) _exit(3);
    BigInt x = BigInt::from_digits(std::string(1000000, '7'));
    try {
        for (;;) x = x * x;
    } catch (const std::bad_alloc&) {
        const bool usable = x.sign() > 0 && BigInt(6) * BigInt(7) == BigInt(42);
        _exit(usable ? 0 : 2);
    }
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

TEST(GmpAllocationDeathTest, FailedAllocationThrowsBadAllocInsteadOfAborting) {
    if (kAddressSanitizer) GTEST_SKIP() << "the address sanitizer reserves more address space than any limit allows";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(square_until_memory_runs_out(), ::testing::ExitedWithCode(0), "");
}

TEST(GmpAllocation, InstallingTwiceKeepsArithmeticWorking) {
    use_throwing_gmp_allocation();
    use_throwing_gmp_allocation();
    const BigInt big = BigInt::from_digits(std::string(500, '9'));
    EXPECT_EQ((big + BigInt(1)).str(), "1" + std::string(500, '0'));
}

}  // namespace
}  // namespace brevant
