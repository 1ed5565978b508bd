#include "exact/interrupt.hpp"

#include <atomic>
#include <chrono>
#include <new>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "exact/failure.hpp"
#include "exact/offload.hpp"
#include "exact/rational.hpp"

namespace brevant {
namespace {

using Clock = std::chrono::steady_clock;

int g_hook_calls = 0;

void count_call() { ++g_hook_calls; }
void interrupt_now() { throw Interrupted{}; }

// Longer than a check interval plus the coarse clock's tick on any usual kernel (at most 10 ms).
constexpr auto kPause = std::chrono::milliseconds(15);

class InterruptTest : public ::testing::Test {
protected:
    void SetUp() override { g_hook_calls = 0; }
    void TearDown() override { set_interrupt_hook(nullptr); }
};

TEST_F(InterruptTest, APollAfterAPauseChecksAndABurstOfPollsChecksAtMostOnceMore) {
    set_interrupt_hook(&count_call);
    for (int round = 0; round < 3; ++round) {
        std::this_thread::sleep_for(kPause);
        g_hook_calls = 0;
        const auto start = Clock::now();
        poll_interrupt();
        EXPECT_EQ(g_hook_calls, 1) << "round " << round;
        int polls = 1;
        while (Clock::now() - start < std::chrono::microseconds(200)) {
            poll_interrupt();
            ++polls;
        }
        // The coarse clock may tick once during the burst, never twice.
        EXPECT_LE(g_hook_calls, 2) << polls << " polls";
    }
}

TEST_F(InterruptTest, ChecksFollowTheClockNotTheNumberOfPolls) {
    set_interrupt_hook(&count_call);
    const auto start = Clock::now();
    while (Clock::now() - start < std::chrono::milliseconds(40)) poll_interrupt();
    const auto elapsed_ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    EXPECT_GE(g_hook_calls, 2);
    // At most one check per interval, plus one for a coarse clock that lags a tick behind.
    EXPECT_LE(g_hook_calls, elapsed_ms / std::chrono::duration_cast<std::chrono::milliseconds>(kCheckInterval).count() + 11);
}

TEST_F(InterruptTest, InterruptedIsNotAnOrdinaryFailure) {
    set_interrupt_hook(&interrupt_now);
    std::this_thread::sleep_for(kPause);
    bool caught_as_interrupted = false;
    try {
        try {
            for (;;) poll_interrupt();
        } catch (const std::exception&) {
            ADD_FAILURE() << "an interruption must pass handlers of ordinary failures";
        }
    } catch (const Interrupted&) {
        caught_as_interrupted = true;
    }
    EXPECT_TRUE(caught_as_interrupted);
}

TEST_F(InterruptTest, WithoutHookPollingNeverThrows) {
    std::this_thread::sleep_for(kPause);
    EXPECT_NO_THROW(for (int i = 0; i < 100000; ++i) poll_interrupt());
}

std::atomic<bool> g_helper_started = false;

void interrupt_once_the_helper_runs() {
    if (g_helper_started) throw Interrupted{};
}

// The caller leaves at the interruption while the helper is still working; the helper ends
// afterwards on its own.
TEST_F(InterruptTest, AnInterruptedCallerLeavesWithoutWaitingForTheHelper) {
    set_interrupt_hook(&interrupt_once_the_helper_runs);
    auto released = std::make_shared<std::atomic<bool>>(false);
    auto finished = std::make_shared<std::atomic<bool>>(false);
    EXPECT_THROW(run_offloaded([released, finished] {
                     g_helper_started = true;
                     while (!*released) std::this_thread::sleep_for(std::chrono::milliseconds(1));
                     *finished = true;
                 }),
                 Interrupted);
    EXPECT_FALSE(*finished);
    *released = true;
    while (!*finished) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TEST_F(InterruptTest, AFailureOnTheHelperIsRethrownToTheCaller) {
    set_interrupt_hook(&count_call);
    EXPECT_THROW(run_offloaded([] { throw std::bad_alloc(); }), std::bad_alloc);
    EXPECT_THROW(run_offloaded([] { throw InternalFailure("on the helper"); }), InternalFailure);
}

// Numbers large enough to be offloaded give the same results on the helper as here.
TEST_F(InterruptTest, OffloadedArithmeticMatchesArithmeticOnTheCallingThread) {
    const std::string digits_a(100000, '7');
    std::string digits_b(100000, '3');
    digits_b[0] = '5';
    auto compute = [&] {
        const Rational a = parse_r(digits_a + "/" + digits_b.substr(0, 99999));
        const Rational b = parse_r(digits_b + "/" + digits_a.substr(0, 99998));
        const Rational sum = a + b;
        const Rational product = a * b;
        return std::vector<std::string>{sum.str(), product.str(), (product / sum).str(),
                                        std::to_string(a < b), BigInt::from_digits(digits_a).str()};
    };
    const std::vector<std::string> here = compute();
    set_interrupt_hook(&count_call);
    EXPECT_EQ(compute(), here);
}

}  // namespace
}  // namespace brevant
