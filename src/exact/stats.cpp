#include "exact/stats.hpp"

namespace brevant {
namespace {

// Per thread: calls on different threads run at once and must not share a counter, and a
// benchmark reads the counts of the work it ran on its own thread.
thread_local SideTestCounts side_tests;

}  // namespace

SideTestCounts side_test_counts() { return side_tests; }
void reset_side_test_counts() { side_tests = {}; }
void count_side_test(bool fell_back) {
    ++side_tests.total;
    if (fell_back) ++side_tests.fallbacks;
}

}  // namespace brevant
