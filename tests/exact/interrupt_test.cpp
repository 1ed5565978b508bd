#include "exact/interrupt.hpp"

#include <gtest/gtest.h>

#include "exact/failure.hpp"

namespace brevant {
namespace {

int g_hook_calls = 0;

void count_call() { ++g_hook_calls; }
void interrupt_now() { throw Interrupted{}; }

class InterruptTest : public ::testing::Test {
protected:
    void SetUp() override { g_hook_calls = 0; }
    void TearDown() override { set_interrupt_hook(nullptr); }
};

TEST_F(InterruptTest, HookRunsOncePerCheckIntervalWhateverTheCounterHeldBefore) {
    for (int phase : {0, 1, 517}) {
        set_interrupt_hook(nullptr);
        for (int i = 0; i < phase; ++i) poll_interrupt();
        set_interrupt_hook(&count_call);
        g_hook_calls = 0;
        for (std::uint32_t i = 0; i < 3 * kPollsPerCheck; ++i) poll_interrupt();
        EXPECT_EQ(g_hook_calls, 3) << "after " << phase << " earlier polls";
    }
}

TEST_F(InterruptTest, ThrowingHookStopsALoopWithinOneInterval) {
    set_interrupt_hook(&interrupt_now);
    std::uint32_t steps = 0;
    EXPECT_THROW(
        for (;;) {
            poll_interrupt();
            ++steps;
        },
        Interrupted);
    EXPECT_LT(steps, kPollsPerCheck);
}

TEST_F(InterruptTest, InterruptedIsNotAnOrdinaryFailure) {
    set_interrupt_hook(&interrupt_now);
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
    set_interrupt_hook(nullptr);
    EXPECT_NO_THROW(for (std::uint32_t i = 0; i < 4 * kPollsPerCheck; ++i) poll_interrupt());
}

}  // namespace
}  // namespace brevant
