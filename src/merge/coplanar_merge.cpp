#include "merge/coplanar_merge.hpp"

#include <algorithm>
#include <cstdlib>
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

// The side of a face at a level k >= 1: +1 where the winding is at least k, −1 where it is at most
// −k, 0 elsewhere. At level 1 this is the sign of the winding.
int side_at(const Weights& winding, int level) {
    const int w = total(winding);
    return w >= level ? 1 : (w <= -level ? -1 : 0);
}

struct PlaneArrangement {
    Arrangement arrangement;
    FaceWindings windings;
};

PlaneArrangement arrange(const std::vector<Segment2>& segments) {
    PlaneArrangement p{build_arrangement(segments), {}};
    p.windings = face_windings(p.arrangement);
    return p;
}

int deepest_winding(const FaceWindings& fw) {
    int deepest = 0;
    for (const Weights& w : fw.winding) deepest = std::max(deepest, std::abs(total(w)));
    return deepest;
}

// The faces of one side at a level joined through edges that no cut lies on (or through every
// edge, `across_cuts`), and through the nesting of components (a component's outside is part of
// the face around it). region[c] numbers the region of cycle c's face, −1 where the side is 0.
std::vector<int> group_regions(const PlaneArrangement& p, int level, bool across_cuts = false) {
    const Arrangement& a = p.arrangement;
    const int cycles = a.cycle_count();
    std::vector<int> parent(cycles);
    std::iota(parent.begin(), parent.end(), 0);
    std::vector<int> side(cycles);
    for (int c = 0; c < cycles; ++c) side[c] = side_at(p.windings.winding[c], level);
    for (int c = 0; c < cycles; ++c) {
        if (p.windings.enclosing[c] >= 0) parent[find(parent, c)] = find(parent, p.windings.enclosing[c]);
    }
    for (int e = 0; e < a.edge_count(); ++e) {
        const int c1 = a.cycle[2 * e], c2 = a.cycle[2 * e + 1];
        const bool joins = across_cuts || !a.constrained[e];
        if (joins && side[c1] != 0 && side[c1] == side[c2]) parent[find(parent, c1)] = find(parent, c2);
    }
    std::vector<int> region(cycles, -1), number(cycles, -1);
    int regions = 0;
    for (int c = 0; c < cycles; ++c) {
        if (side[c] == 0) continue;
        const int root = find(parent, c);
        if (number[root] < 0) number[root] = regions++;
        region[c] = number[root];
    }
    return region;
}

struct Regions {
    int level;
    std::vector<int> region;  // per cycle
    std::vector<BoundaryLoop> boundaries;
};

Regions find_regions(const PlaneArrangement& p, int level) {
    Regions r{level, group_regions(p, level), {}};
    r.boundaries = region_boundaries(p.arrangement, r.region);
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
std::vector<Segment2> hole_cuts(const PlaneArrangement& p, const Regions& r) {
    const Arrangement& a = p.arrangement;
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

int region_count(const std::vector<int>& region) {
    return region.empty() ? 0 : *std::max_element(region.begin(), region.end()) + 1;
}

// The owner whose windings cover the most of each region, area-weighted and signed like the
// region's side at the level.
std::vector<int> region_owners(const PlaneArrangement& p, const std::vector<int>& region, int level) {
    const int regions = region_count(region);
    std::vector<std::map<int, Rational>> cover(regions);
    for (int c = 0; c < p.arrangement.cycle_count(); ++c) {
        if (region[c] < 0) continue;
        const int side = side_at(p.windings.winding[c], level);
        for (const OwnerWeight& ow : p.windings.winding[c]) {
            cover[region[c]][ow.owner] += p.arrangement.cycle_area2[c] * Rational(static_cast<long>(side * ow.weight));
        }
    }
    std::vector<int> owners(regions, 0);
    for (int r = 0; r < regions; ++r) {
        const Rational* best = nullptr;
        for (const auto& [owner, area] : cover[r]) {
            if (!best || *best < area) {
                best = &area;
                owners[r] = owner;
            }
        }
    }
    return owners;
}

// Per region of the level, its owner: by its own cover, or, where some region of the plane is
// covered more than once, by the cover of the whole region of level 1 around it (cuts ignored).
// Pieces stacked over one point then share one owner, and merging them again gives each the same
// owner: the whole region's cover is then that owner's alone.
std::vector<int> piece_owners(const PlaneArrangement& p, const Regions& r, bool stacked) {
    if (!stacked) return region_owners(p, r.region, r.level);
    const std::vector<int> around = group_regions(p, 1, true);
    const std::vector<int> around_owners = region_owners(p, around, 1);
    std::vector<int> owners(region_count(r.region), 0);
    for (int c = 0; c < p.arrangement.cycle_count(); ++c) {
        if (r.region[c] >= 0) owners[r.region[c]] = around_owners[around[c]];
    }
    return owners;
}

// One piece per region: the cuts leave no region with a hole.
void add_pieces(const PlaneArrangement& p, const Regions& r, bool stacked, std::vector<MergedPiece>& pieces) {
    const int regions = region_count(r.region);
    std::vector<int> side(regions, 0);
    for (int c = 0; c < p.arrangement.cycle_count(); ++c) {
        if (r.region[c] >= 0) side[r.region[c]] = side_at(p.windings.winding[c], r.level);
    }
    const std::vector<int> owners = piece_owners(p, r, stacked);
    std::vector<char> seen(regions, 0);
    for (const BoundaryLoop& loop : r.boundaries) {
        if (seen[loop.region]) throw InternalFailure("merged: a face with holes was left in one piece");
        seen[loop.region] = 1;
        pieces.push_back({corners(p.arrangement, loop), side[loop.region], owners[loop.region], {}, r.level});
    }
}

// The pieces of one level: its regions, cut open where they have holes. The cuts join `segments`
// only while the level is arranged with them.
void add_level(std::vector<Segment2>& segments, const PlaneArrangement& whole, int level, bool stacked,
               std::vector<MergedPiece>& pieces) {
    const Regions r = find_regions(whole, level);
    std::vector<Segment2> cuts = hole_cuts(whole, r);
    if (cuts.empty()) {
        add_pieces(whole, r, stacked, pieces);
        return;
    }
    const std::size_t uncut = segments.size();
    segments.insert(segments.end(), std::make_move_iterator(cuts.begin()), std::make_move_iterator(cuts.end()));
    const PlaneArrangement cut = arrange(segments);
    segments.resize(uncut);
    add_pieces(cut, find_regions(cut, level), stacked, pieces);
}

// A convex loop bounds its region alone.
std::optional<MergedPiece> convex_face(const OwnedLoop& loop) {
    std::vector<std::size_t> corners;
    const int turn = convex_turn(loop.points, &corners);
    if (turn == 0) return std::nullopt;
    if (turn < 0) std::reverse(corners.begin(), corners.end());
    MergedPiece face{{}, turn, loop.owner, {}, 1};
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
    const PlaneArrangement whole = arrange(segments);
    std::vector<MergedPiece> pieces;
    const int levels = deepest_winding(whole.windings);
    for (int level = 1; level <= levels; ++level) add_level(segments, whole, level, levels > 1, pieces);
    return pieces;
}

}  // namespace brevant
