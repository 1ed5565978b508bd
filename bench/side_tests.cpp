// Counts the exact side tests of one boolean workload and how many of them left the machine-word
// path for GMP; the counters have no Python exposure, so bench.py runs this beside the module.
//
// usage: side_tests box dx dy dz ex ey ez tx ty tz op   box_boolean's boxes and operation
//        side_tests cuts ex ey ez tx ty tz ...         the 10 × 10 × 1 slab minus each box in turn
// Prints "total fallbacks": exact side tests, and those among them that fell back.
#include <cstdio>
#include <string>
#include <vector>

#include "boolean/boolean.hpp"
#include "exact/stats.hpp"
#include "solid/transforms.hpp"

namespace {

using brevant::parse_r;
using brevant::Solid;

Solid placed_box(const std::vector<std::string>& texts, std::size_t at, const char* prefix) {
    const Solid box = Solid::cube(parse_r(texts.at(at)), parse_r(texts.at(at + 1)), parse_r(texts.at(at + 2)), prefix);
    return brevant::translated(box, {parse_r(texts.at(at + 3)), parse_r(texts.at(at + 4)), parse_r(texts.at(at + 5))});
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return 2;
    if (args[0] == "box" && args.size() == 11) {
        const Solid a = Solid::cube(parse_r(args[1]), parse_r(args[2]), parse_r(args[3]), "A");
        const Solid b = placed_box(args, 4, "B");
        brevant::reset_side_test_counts();
        brevant::boolean_impl(args[10], a, b);
    } else if (args[0] == "cuts" && (args.size() - 1) % 6 == 0) {
        Solid slab = Solid::cube(10, 10, 1, "S");
        brevant::reset_side_test_counts();
        for (std::size_t at = 1; at < args.size(); at += 6) {
            slab = brevant::boolean_impl("cut", std::move(slab), placed_box(args, at, "C"));
        }
    } else {
        return 2;
    }
    const brevant::SideTestCounts counts = brevant::side_test_counts();
    std::printf("%llu %llu\n", static_cast<unsigned long long>(counts.total),
                static_cast<unsigned long long>(counts.fallbacks));
    return 0;
}
