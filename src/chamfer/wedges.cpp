#include "chamfer/wedges.hpp"

#include <algorithm>

#include "chamfer/refusals.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

struct Span {
    Rational inner;  // start bounds: the largest crossing; end bounds: the smallest
    Rational outer;  // start bounds: the smallest crossing; end bounds: the largest
};

// The parameters where the bounds cross the three prism lines.
Span crossings(const std::vector<Plane>& bounds, const std::array<Vec3, 3>& lines, const Vec3& u, bool at_start) {
    std::vector<Rational> s;
    for (const Plane& b : bounds) {
        const Rational along = dot(b.normal, u);
        for (const Vec3& q : lines) s.push_back((b.offset - dot(b.normal, q)) / along);
    }
    const auto [lo, hi] = std::minmax_element(s.begin(), s.end());
    return at_start ? Span{*hi, *lo} : Span{*lo, *hi};
}

}  // namespace

std::vector<ConvexPiece> wedge_pieces(const EdgeMap& map, const std::vector<std::optional<Bevel>>& bevels,
                                      const VertexPlan& plan, const Rational& dist) {
    std::vector<ConvexPiece> pieces;
    for (std::size_t i = 0; i < map.segments.size(); ++i) {
        poll_interrupt();  // every segment
        if (!bevels[i]) continue;
        const Segment& seg = map.segments[i];
        const Bevel& bevel = *bevels[i];
        const Vec3 u = sub(seg.end, seg.start);
        const std::array<Vec3, 3> lines{seg.start, add(seg.start, smul(dist, bevel.into_a)),
                                        add(seg.start, smul(dist, bevel.into_b))};
        const Span from = crossings(plan.at_start[i].bounds, lines, u, true);
        const Span to = crossings(plan.at_end[i].bounds, lines, u, false);
        if (from.inner > to.inner) refuse_too_large();

        std::vector<Vec3> hull;
        for (const Vec3& q : lines) {
            hull.push_back(add(q, smul(from.outer, u)));
            hull.push_back(add(q, smul(to.outer, u)));
        }
        const std::vector<Halfspace> prism{{seg.a.plane, "chamfer.face", map.face_of[seg.a.polygon]},
                                           {seg.b.plane, "chamfer.face", map.face_of[seg.b.polygon]},
                                           {bevel.plane.flipped(), "chamfer.b", std::nullopt}};
        for (const std::vector<Halfspace>& near_start : plan.at_start[i].alternatives) {
            for (const std::vector<Halfspace>& near_end : plan.at_end[i].alternatives) {
                std::vector<Halfspace> halfspaces = prism;
                halfspaces.insert(halfspaces.end(), near_start.begin(), near_start.end());
                halfspaces.insert(halfspaces.end(), near_end.begin(), near_end.end());
                if (std::optional<ConvexPiece> piece = clip_bounding_box(hull, halfspaces)) pieces.push_back(std::move(*piece));
            }
        }
    }
    return pieces;
}

}  // namespace brevant
