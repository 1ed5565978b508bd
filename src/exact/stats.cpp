#include "exact/stats.hpp"

namespace brevant {
namespace {

// Plain counters: every call runs on the interpreter's thread, one at a time.
SideTestCounts side_tests;

}  // namespace

SideTestCounts side_test_counts() { return side_tests; }
void reset_side_test_counts() { side_tests = {}; }
void count_side_test(bool fell_back) {
    ++side_tests.total;
    if (fell_back) ++side_tests.fallbacks;
}

}  // namespace brevant
