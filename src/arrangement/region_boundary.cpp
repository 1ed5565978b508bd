#include "arrangement/region_boundary.hpp"

#include "exact/interrupt.hpp"

namespace brevant {

std::vector<BoundaryLoop> region_boundaries(const Arrangement& a, const std::vector<int>& region) {
    auto region_left = [&](int h) { return region[a.cycle[h]]; };
    auto bounds = [&](int h) { return region_left(h) >= 0 && region_left(h) != region_left(Arrangement::twin(h)); };
    std::vector<char> walked(a.origin.size(), 0);
    std::vector<BoundaryLoop> loops;
    for (int start = 0; start < static_cast<int>(a.origin.size()); ++start) {
        if (walked[start] || !bounds(start)) continue;
        BoundaryLoop loop{region_left(start), {}};
        int h = start;
        do {
            poll_interrupt();
            walked[h] = 1;
            loop.half_edges.push_back(h);
            // Every half-edge met turning clockwise has the region on its left until one leaves it.
            int g = a.clockwise(Arrangement::twin(h));
            while (!bounds(g)) g = a.clockwise(g);
            h = g;
        } while (h != start);
        loops.push_back(std::move(loop));
    }
    return loops;
}

}  // namespace brevant
