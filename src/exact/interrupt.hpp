// Cooperative interruption, bounded in time. Loops whose length grows with the input call
// poll_interrupt() once per step, and the exact arithmetic polls before every operation on large
// numbers (a single one can take milliseconds; see exact/offload.hpp for those that take longer).
// A poll reads a coarse monotonic clock and, when at least kCheckInterval has passed since the
// thread's last check, runs the hook that the host installed: the Python binding runs pending signal
// handlers there and throws Interrupted when one raises. With no hook installed, polling only reads
// the clock.
#pragma once

#include <chrono>

namespace brevant {

// Called on the polling thread when a check is due.
using InterruptHook = void (*)();

inline constexpr std::chrono::nanoseconds kCheckInterval = std::chrono::milliseconds(1);

// Installs the hook (nullptr removes it). The host installs it once, before any call runs.
void set_interrupt_hook(InterruptHook hook);

bool interrupt_hook_installed();

void poll_interrupt();

}  // namespace brevant
