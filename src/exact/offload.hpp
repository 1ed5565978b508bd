// Big-number operations too long to wait for. One GMP call on numbers of a million digits takes
// tens of milliseconds (a product) to seconds (a greatest common divisor), and nothing can stop it
// from outside. Such a call runs on a helper thread while the calling thread waits in short slices
// and polls for interrupts between them; when the hook ends the call, the caller leaves at once
// and the helper finishes alone, its result dropped.
//
// Notation: a number's size is its count of limbs (64-bit words); kPollLimbs and kOffloadLimbs
// are the sizes from which an operation polls first, and from which a super-linear one (product,
// quotient, gcd, decimal conversion) is offloaded.
#pragma once

#include <cstddef>
#include <functional>

namespace brevant {

// A super-linear operation on numbers below kPollLimbs takes a few microseconds at most, so the
// loop around it polls often enough; below kOffloadLimbs (some 79,000 digits) it takes at most
// about 20 ms (a gcd; a product about 1 ms), well within the time a signal may wait. Above, the
// helper thread's start (some 50 microseconds) is a few percent of the operation at most.
inline constexpr std::size_t kPollLimbs = 64;
inline constexpr std::size_t kOffloadLimbs = 4096;

// Polls when the operands reach kPollLimbs (the size of the largest one).
void poll_before(std::size_t limbs);

// Whether a super-linear operation on numbers of this size runs through run_offloaded.
inline bool is_long_operation(std::size_t limbs) { return limbs >= kOffloadLimbs; }

// Runs work() on a helper thread while this one polls, and returns when it has ended. `work` must
// own everything it reads and writes (captured by value), since this thread may leave before it
// ends. Without an interrupt hook, or when no thread can be started, work() runs here. An exception
// from work() is rethrown here.
void run_offloaded(std::function<void()> work);

}  // namespace brevant
