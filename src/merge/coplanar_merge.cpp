#include "merge/coplanar_merge.hpp"

#include <algorithm>
#include <map>
#include <numeric>
#include <optional>
#include <set>

#include "arrangement/face_windings.hpp"
#include "arrangement/convexity.hpp"
#include "arrangement/ray_hit.hpp"
#include "arrangement/region_boundary.hpp"
#include "exact/failure.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

bool point_less(const Point2& p, const Point2& q) { return p[0] < q[0] || (p[0] == q[0] && p[1] < q[1]); }

int find(std::vector<int>& parent, int c) {
    while (parent[c] != c) c = parent[c] = parent[parent[c]];
    return c;
}

int sign_of(int n) { return (n > 0) - (n < 0); }

// The faces of one sign joined through edges that no cut lies on, and through the nesting of
// components (a component's outside is part of the face around it). region[c] numbers the region
// of cycle c's face, −1 where the winding is zero.
std::vector<int> group_regions(const Arrangement& a, const FaceWindings& fw) {
    const int cycles = a.cycle_count();
    std::vector<int> parent(cycles);
    std::iota(parent.begin(), parent.end(), 0);
    std::vector<int> sign(cycles);
    for (int c = 0; c < cycles; ++c) sign[c] = sign_of(total(fw.winding[c]));
    for (int c = 0; c < cycles; ++c) {
        if (fw.enclosing[c] >= 0) parent[find(parent, c)] = find(parent, fw.enclosing[c]);
    }
    for (int e = 0; e < a.edge_count(); ++e) {
        const int c1 = a.cycle[2 * e], c2 = a.cycle[2 * e + 1];
        if (!a.constrained[e] && sign[c1] != 0 && sign[c1] == sign[c2]) parent[find(parent, c1)] = find(parent, c2);
    }
    std::vector<int> region(cycles, -1), number(cycles, -1);
    int regions = 0;
    for (int c = 0; c < cycles; ++c) {
        if (sign[c] == 0) continue;
        const int root = find(parent, c);
        if (number[root] < 0) number[root] = regions++;
        region[c] = number[root];
    }
    return region;
}

struct Regions {
    Arrangement arrangement;
    FaceWindings windings;
    std::vector<int> region;  // per cycle
    std::vector<BoundaryLoop> boundaries;
};

Regions find_regions(const std::vector<Segment2>& segments) {
    Regions r{build_arrangement(segments), {}, {}, {}};
    r.windings = face_windings(r.arrangement);
    r.region = group_regions(r.arrangement, r.windings);
    r.boundaries = region_boundaries(r.arrangement, r.region);
    return r;
}

Rational loop_area2(const Arrangement& a, const BoundaryLoop& loop) {
    Rational sum;
    for (int h : loop.half_edges) {
        const Point2& p = a.points[a.origin[h]];
        const Point2& q = a.points[a.dest(h)];
        sum += p[0] * q[1] - q[0] * p[1];
    }
    return sum;
}

// The cuts that open every hole of every region: from each hole's least vertex towards −x and from
// its greatest towards +x, to the first point of the region's boundary met. Two holes whose cuts
// meet end to end share one cut.
std::vector<Segment2> hole_cuts(const Regions& r) {
    const Arrangement& a = r.arrangement;
    std::map<int, std::vector<const BoundaryLoop*>> by_region;
    for (const BoundaryLoop& loop : r.boundaries) by_region[loop.region].push_back(&loop);
    std::set<std::pair<Point2, Point2>> cuts;
    for (const auto& [region, loops] : by_region) {
        if (loops.size() < 2) continue;
        std::vector<int> edges;
        for (const BoundaryLoop* loop : loops) {
            for (int h : loop->half_edges) edges.push_back(h / 2);
        }
        const HorizontalRays rays(a, edges);
        for (const BoundaryLoop* loop : loops) {
            if (loop_area2(a, *loop).sign() > 0) continue;  // the outer boundary
            int least = a.origin[loop->half_edges.front()], greatest = least;
            for (int h : loop->half_edges) {
                const int v = a.origin[h];
                if (point_less(a.points[v], a.points[least])) least = v;
                if (point_less(a.points[greatest], a.points[v])) greatest = v;
            }
            for (const auto& [from, dx] : {std::pair{least, -1}, std::pair{greatest, 1}}) {
                const std::optional<RayHit> hit = rays.first_hit(a.points[from], dx);
                if (!hit) throw InternalFailure("merged: a hole lies outside its face");
                cuts.insert(std::minmax(a.points[from], hit->point, point_less));
            }
        }
    }
    std::vector<Segment2> segments;
    for (const auto& [p, q] : cuts) segments.push_back({p, q, kConstraint});
    return segments;
}

// The vertices of a boundary loop, leaving out those where it runs straight on.
std::vector<Point2> corners(const Arrangement& a, const BoundaryLoop& loop) {
    std::vector<Point2> result;
    const std::size_t n = loop.half_edges.size();
    for (std::size_t i = 0; i < n; ++i) {
        const int h = loop.half_edges[i];
        const Point2& prev = a.points[a.origin[loop.half_edges[(i + n - 1) % n]]];
        const Point2& here = a.points[a.origin[h]];
        const Point2& next = a.points[a.dest(h)];
        if (orient2(prev, here, next).is_zero()) continue;  // a boundary never turns straight back
        result.push_back(here);
    }
    return result;
}

// The owner whose windings cover the most of each region, area-weighted and signed like the region.
std::vector<int> region_owners(const Regions& r, int regions) {
    std::vector<std::map<int, Rational>> cover(regions);
    for (int c = 0; c < r.arrangement.cycle_count(); ++c) {
        const int region = r.region[c];
        if (region < 0) continue;
        const int sign = sign_of(total(r.windings.winding[c]));
        for (const OwnerWeight& ow : r.windings.winding[c]) {
            cover[region][ow.owner] += r.arrangement.cycle_area2[c] * Rational(static_cast<long>(sign * ow.weight));
        }
    }
    std::vector<int> owners(regions, 0);
    for (int region = 0; region < regions; ++region) {
        const Rational* best = nullptr;
        for (const auto& [owner, area] : cover[region]) {
            if (!best || *best < area) {
                best = &area;
                owners[region] = owner;
            }
        }
    }
    return owners;
}

// A convex loop bounds its region alone.
std::optional<MergedPiece> convex_face(const OwnedLoop& loop) {
    std::vector<std::size_t> corners;
    const int turn = convex_turn(loop.points, &corners);
    if (turn == 0) return std::nullopt;
    if (turn < 0) std::reverse(corners.begin(), corners.end());
    MergedPiece face{{}, turn, loop.owner, {}};
    for (std::size_t i : corners) {
        face.loop.push_back(loop.points[i]);
        if (loop.space) face.space.push_back((*loop.space)[i]);
    }
    return face;
}

// Convex loops whose boxes lie apart (not even touching) are whole faces each: nothing of one can
// add to or cancel anything of another. Common on solids built from boxes, whose faces lie in a few
// planes. The boxes are tested first: fragments of one face overlap, and then no loop need be
// checked for convexity.
std::optional<std::vector<MergedPiece>> convex_faces_apart(const std::vector<OwnedLoop>& loops) {
    struct Extent {
        Point2 lo, hi;
    };
    std::vector<Extent> extents;
    for (const OwnedLoop& loop : loops) {
        if (loop.points.empty()) return std::nullopt;
        Extent e{loop.points[0], loop.points[0]};
        for (const Point2& q : loop.points) {
            for (int axis = 0; axis < 2; ++axis) {
                if (q[axis] < e.lo[axis]) e.lo[axis] = q[axis];
                if (e.hi[axis] < q[axis]) e.hi[axis] = q[axis];
            }
        }
        extents.push_back(std::move(e));
    }
    std::vector<std::size_t> order(loops.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](std::size_t i, std::size_t j) { return extents[i].lo[0] < extents[j].lo[0]; });
    for (std::size_t k = 0; k < order.size(); ++k) {
        const Extent& e = extents[order[k]];
        for (std::size_t m = k + 1; m < order.size() && !(e.hi[0] < extents[order[m]].lo[0]); ++m) {
            poll_interrupt();
            const Extent& f = extents[order[m]];
            if (!(e.hi[1] < f.lo[1] || f.hi[1] < e.lo[1])) return std::nullopt;
        }
    }
    std::vector<MergedPiece> faces;
    for (const OwnedLoop& loop : loops) {
        std::optional<MergedPiece> face = convex_face(loop);
        if (!face) return std::nullopt;
        faces.push_back(std::move(*face));
    }
    return faces;
}

}  // namespace

std::vector<MergedPiece> merge_coplanar(const std::vector<OwnedLoop>& loops) {
    if (std::optional<std::vector<MergedPiece>> faces = convex_faces_apart(loops)) return std::move(*faces);
    std::vector<Segment2> segments;
    for (const OwnedLoop& loop : loops) {
        const std::size_t n = loop.points.size();
        for (std::size_t i = 0; i < n; ++i) segments.push_back({loop.points[i], loop.points[(i + 1) % n], loop.owner});
    }
    Regions r = find_regions(segments);
    std::vector<Segment2> cuts = hole_cuts(r);
    if (!cuts.empty()) {
        segments.insert(segments.end(), std::make_move_iterator(cuts.begin()), std::make_move_iterator(cuts.end()));
        r = find_regions(segments);
    }

    const int regions = r.region.empty() ? 0 : *std::max_element(r.region.begin(), r.region.end()) + 1;
    std::vector<int> sign(regions, 0);
    for (int c = 0; c < r.arrangement.cycle_count(); ++c) {
        if (r.region[c] >= 0) sign[r.region[c]] = sign_of(total(r.windings.winding[c]));
    }
    const std::vector<int> owners = region_owners(r, regions);
    std::vector<MergedPiece> pieces;
    std::vector<char> seen(regions, 0);
    for (const BoundaryLoop& loop : r.boundaries) {
        if (seen[loop.region]) throw InternalFailure("merged: a face with holes was left in one piece");
        seen[loop.region] = 1;
        pieces.push_back({corners(r.arrangement, loop), sign[loop.region], owners[loop.region], {}});
    }
    return pieces;
}

}  // namespace brevant
