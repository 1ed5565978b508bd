// Counters of how exact decisions were reached, read by benchmarks to report which share of the
// work left the machine-word fast path. Always compiled in: an increment per decision is noise.
//
// Notation: a side test is one dot_minus_sign call (Plane::side); it "falls back" when its inputs
// or a partial sum do not fit in machine words, and the sign is then computed with full Rationals
// (where any big-number arithmetic happens). The counts are those of the calling thread.
#pragma once

#include <cstdint>

namespace brevant {

struct SideTestCounts {
    std::uint64_t total = 0;
    std::uint64_t fallbacks = 0;
};

SideTestCounts side_test_counts();
void reset_side_test_counts();
void count_side_test(bool fell_back);

}  // namespace brevant
