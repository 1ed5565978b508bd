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

// The one half-space of an end rule that has one alternative of one half-space.
const Halfspace* single_cut(const EndRule& rule) {
    if (rule.alternatives.size() != 1 || rule.alternatives.front().size() != 1) return nullptr;
    return &rule.alternatives.front().front();
}

// The face through the points, in `plane` (outward), run the way that plane's normal turns.
PieceFace face_in(std::vector<Vec3> loop, const Plane& plane, const Vec3& loop_normal, FaceTag tag) {
    if (dot(loop_normal, plane.normal).sign() < 0) std::reverse(loop.begin(), loop.end());
    std::vector<FloatVertex> floats = to_float_vertices(loop);
    return {Polygon{std::move(loop), std::move(floats), tag.label, plane}, std::move(tag)};
}

// A wedge whose ends are each cut by one plane crossing the three lines inside the seed: the prism
// between the two triangles where the planes cross the lines, built directly. It is what
// cut_seed leaves of the seed (the same faces and tags; only the planes' scale and the loops'
// first points may differ). Nothing when an end is cut otherwise or a triangle leaves the seed.
std::optional<ConvexPiece> direct_wedge(const EdgeMap& map, const Segment& seg, const Bevel& bevel,
                                        const std::array<Vec3, 3>& lines, const Vec3& u, const Span& from,
                                        const Span& to, const EndRule& start_rule, const EndRule& end_rule) {
    const Halfspace* start = single_cut(start_rule);
    const Halfspace* end = single_cut(end_rule);
    if (!start || !end) return std::nullopt;
    // The start keeps what lies further along u, the end what lies before.
    const Rational along_start = dot(start->plane.normal, u), along_end = dot(end->plane.normal, u);
    if (along_start.sign() >= 0 || along_end.sign() <= 0) return std::nullopt;
    std::array<Vec3, 3> near, far;
    for (std::size_t k = 0; k < 3; ++k) {
        const Rational s = (start->plane.offset - dot(start->plane.normal, lines[k])) / along_start;
        const Rational e = (end->plane.offset - dot(end->plane.normal, lines[k])) / along_end;
        if (s < from.outer || to.outer < e || !(s < e)) return std::nullopt;
        near[k] = add(lines[k], smul(s, u));
        far[k] = add(lines[k], smul(e, u));
    }
    const std::size_t face_a = map.face_of[seg.a.polygon], face_b = map.face_of[seg.b.polygon];
    const Plane bevel_out = bevel.plane.flipped();
    return piece_of({
        face_in({near[0], far[0], far[1], near[1]}, seg.a.plane, cross(u, bevel.to_a), contact("chamfer.face", face_a)),
        face_in({near[0], far[0], far[2], near[2]}, seg.b.plane, cross(u, bevel.to_b), contact("chamfer.face", face_b)),
        face_in({near[1], far[1], far[2], near[2]}, bevel_out, cross(u, sub(bevel.to_b, bevel.to_a)),
                labelled(bevel.label)),
        face_in({near[0], near[1], near[2]}, start->plane, cross(sub(near[1], near[0]), sub(near[2], near[0])),
                start->tag),
        face_in({far[0], far[1], far[2]}, end->plane, cross(sub(far[1], far[0]), sub(far[2], far[0])), end->tag)});
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

        if (std::optional<ConvexPiece> piece =
                direct_wedge(map, seg, bevel, lines, u, from, to, plan.at_start[i], plan.at_end[i])) {
            pieces.push_back(std::move(*piece));
            continue;
        }
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
