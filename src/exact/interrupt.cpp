#include "exact/interrupt.hpp"

#include <atomic>

namespace brevant {
namespace {

std::atomic<InterruptHook> g_hook{nullptr};
// Per thread, so that loops on different threads never share a counter.
thread_local std::uint32_t t_polls_since_check = 0;

}  // namespace

void set_interrupt_hook(InterruptHook hook) { g_hook.store(hook, std::memory_order_relaxed); }

void poll_interrupt() {
    if (++t_polls_since_check < kPollsPerCheck) return;
    t_polls_since_check = 0;
    if (InterruptHook hook = g_hook.load(std::memory_order_relaxed)) hook();
}

}  // namespace brevant
