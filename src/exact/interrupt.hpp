// Cooperative interruption of long loops. Loops whose length grows with the input call
// poll_interrupt() once per step; every kPollsPerCheck polls it runs the hook that the host
// installed (the Python binding checks for pending signals there). The hook ends the call by
// throwing Interrupted; with no hook installed, polling only counts.
#pragma once

#include <cstdint>

namespace brevant {

using InterruptHook = void (*)();

// One check per this many polls. A polled step is at least one exact operation (tens of
// nanoseconds to a few microseconds), so a check comes within a few milliseconds of work, while
// the hook's own cost stays far below the cost of the steps between two checks.
inline constexpr std::uint32_t kPollsPerCheck = 1024;

// Installs the hook (nullptr removes it). The host installs it once, before any call runs.
void set_interrupt_hook(InterruptHook hook);

void poll_interrupt();

}  // namespace brevant
