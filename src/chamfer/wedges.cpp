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

// The prism between the three lines from parameter lo to hi: its faces in A, B and the bevel, and
// two provisional ends that the end rules cut away.
std::vector<PieceFace> prism_seed(const EdgeMap& map, const Segment& seg, const std::string& bevel_label,
                                  const std::array<Vec3, 3>& lines, const Vec3& u, const Rational& lo,
                                  const Rational& hi) {
    std::array<Vec3, 3> near, far;
    for (std::size_t k = 0; k < 3; ++k) {
        near[k] = add(lines[k], smul(lo, u));
        far[k] = add(lines[k], smul(hi, u));
    }
    const std::size_t face_a = map.face_of[seg.a.polygon], face_b = map.face_of[seg.b.polygon];
    return {outward_face({near[0], far[0], far[1], near[1]}, near[2], contact("chamfer.face", face_a)),
            outward_face({near[0], far[0], far[2], near[2]}, near[1], contact("chamfer.face", face_b)),
            outward_face({near[1], far[1], far[2], near[2]}, near[0], labelled(bevel_label)),
            outward_face({near[0], near[1], near[2]}, far[0], provisional("chamfer.end")),
            outward_face({far[0], far[1], far[2]}, near[0], provisional("chamfer.end"))};
}

}  // namespace

std::vector<ConvexPiece> wedge_pieces(const EdgeMap& map, const std::vector<std::optional<Bevel>>& bevels,
                                      const VertexPlan& plan) {
    std::vector<ConvexPiece> pieces;
    for (std::size_t i = 0; i < map.segments.size(); ++i) {
        poll_interrupt();  // every segment
        if (!bevels[i]) continue;
        const Segment& seg = map.segments[i];
        const Bevel& bevel = *bevels[i];
        const Vec3 u = sub(seg.end, seg.start);
        const std::array<Vec3, 3> lines{seg.start, add(seg.start, bevel.to_a), add(seg.start, bevel.to_b)};
        const Span from = crossings(plan.at_start[i].bounds, lines, u, true);
        const Span to = crossings(plan.at_end[i].bounds, lines, u, false);
        if (from.inner > to.inner) refuse_too_large();

        const std::vector<PieceFace> prism = prism_seed(map, seg, bevel.label, lines, u, from.outer, to.outer);
        for (const std::vector<Halfspace>& near_start : plan.at_start[i].alternatives) {
            for (const std::vector<Halfspace>& near_end : plan.at_end[i].alternatives) {
                std::vector<Halfspace> cuts = near_start;
                cuts.insert(cuts.end(), near_end.begin(), near_end.end());
                if (std::optional<ConvexPiece> piece = cut_seed(prism, cuts)) pieces.push_back(std::move(*piece));
            }
        }
    }
    return pieces;
}

}  // namespace brevant
