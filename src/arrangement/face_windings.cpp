#include "arrangement/face_windings.hpp"

#include <algorithm>
#include <numeric>

#include "arrangement/ray_hit.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

bool point_less(const Point2& p, const Point2& q) { return p[0] < q[0] || (p[0] == q[0] && p[1] < q[1]); }

struct Component {
    int least_vertex = -1;
    std::vector<int> edges;
};

int find(std::vector<int>& parent, int v) {
    while (parent[v] != v) v = parent[v] = parent[parent[v]];
    return v;
}

std::vector<Component> components(const Arrangement& a) {
    std::vector<int> parent(a.points.size());
    std::iota(parent.begin(), parent.end(), 0);
    for (int e = 0; e < a.edge_count(); ++e) parent[find(parent, a.origin[2 * e])] = find(parent, a.origin[2 * e + 1]);
    std::vector<int> slot(a.points.size(), -1);
    std::vector<Component> result;
    for (int e = 0; e < a.edge_count(); ++e) {
        const int root = find(parent, a.origin[2 * e]);
        if (slot[root] < 0) {
            slot[root] = static_cast<int>(result.size());
            result.emplace_back();
        }
        Component& c = result[slot[root]];
        c.edges.push_back(e);
        for (int v : {a.origin[2 * e], a.origin[2 * e + 1]}) {
            if (c.least_vertex < 0 || point_less(a.points[v], a.points[c.least_vertex])) c.least_vertex = v;
        }
    }
    std::sort(result.begin(), result.end(), [&](const Component& x, const Component& y) {
        return point_less(a.points[x.least_vertex], a.points[y.least_vertex]);
    });
    return result;
}

// Every cycle of the component from its outside cycle, crossing one half-edge at a time.
void spread(const Arrangement& a, int outside, std::vector<Weights>& winding, std::vector<char>& done) {
    std::vector<int> stack{outside};
    done[outside] = 1;
    while (!stack.empty()) {
        const int c = stack.back();
        stack.pop_back();
        int h = a.cycle_first[c];
        do {
            poll_interrupt();
            const int beyond = a.cycle[Arrangement::twin(h)];
            if (!done[beyond]) {
                done[beyond] = 1;
                winding[beyond] = combine(winding[c], a.weights[h / 2], h % 2 == 0 ? -1 : 1);
                stack.push_back(beyond);
            }
            h = a.next[h];
        } while (h != a.cycle_first[c]);
    }
}

// Nothing lies left of a component's least vertex, so the direction −x there points into its outside.
int outside_cycle(const Arrangement& a, int least_vertex) {
    return a.cycle[wedge_containing(a, least_vertex, {Rational(-1), Rational()})];
}

}  // namespace

FaceWindings face_windings(const Arrangement& a) {
    FaceWindings result{std::vector<Weights>(a.cycle_count()), std::vector<int>(a.cycle_count(), -1)};
    std::vector<char> done(a.cycle_count(), 0);
    const std::vector<Component> parts = components(a);
    std::vector<int> placed_at(a.edge_count());  // the place of each edge's component in `parts`
    std::vector<int> all_edges;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        for (int e : parts[i].edges) placed_at[e] = static_cast<int>(i);
        all_edges.insert(all_edges.end(), parts[i].edges.begin(), parts[i].edges.end());
    }
    const HorizontalRays rays(a, parts.size() > 1 ? all_edges : std::vector<int>{});
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const int least = parts[i].least_vertex;
        const int outside = outside_cycle(a, least);
        const auto placed = [&](int e) { return placed_at[e] < static_cast<int>(i); };
        // A component in no face of an earlier one lies in the unbounded face, of winding zero.
        if (std::optional<RayHit> hit = i > 0 ? rays.first_hit(a.points[least], -1, placed) : std::nullopt) {
            const int around = cycle_before_hit(a, *hit, -1);
            result.winding[outside] = result.winding[around];
            result.enclosing[outside] = around;
        }
        spread(a, outside, result.winding, done);
    }
    return result;
}

}  // namespace brevant
