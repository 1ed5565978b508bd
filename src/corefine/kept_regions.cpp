#include "corefine/kept_regions.hpp"

#include <algorithm>
#include <map>
#include <numeric>
#include <optional>

#include "arrangement/face_windings.hpp"
#include "arrangement/orientation.hpp"
#include "arrangement/region_boundary.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

int region_root(std::vector<int>& parent, int c) {
    while (parent[c] != c) c = parent[c] = parent[parent[c]];
    return c;
}

// The boundary loop's points, leaving out those where it runs straight on (a boundary never turns
// straight back).
std::vector<Point2> corners_of(const Arrangement& a, const BoundaryLoop& loop) {
    const std::size_t n = loop.half_edges.size();
    std::vector<FloatPoint> shadows(n);
    for (std::size_t i = 0; i < n; ++i) shadows[i] = shadow(a.points[a.origin[loop.half_edges[i]]]);
    std::vector<Point2> result;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t before = (i + n - 1) % n, after = (i + 1) % n;
        const Point2& here = a.points[a.origin[loop.half_edges[i]]];
        if (orient_sign(a.points[a.origin[loop.half_edges[before]]], here, a.points[a.origin[loop.half_edges[after]]],
                        shadows[before], shadows[i], shadows[after]) == 0) {
            continue;
        }
        result.push_back(here);
    }
    return result;
}

// The places of the loop's points where it does not run straight on.
std::vector<std::size_t> corner_indices(const std::vector<Point2>& loop) {
    const std::size_t n = loop.size();
    std::vector<FloatPoint> shadows(n);
    for (std::size_t i = 0; i < n; ++i) shadows[i] = shadow(loop[i]);
    std::vector<std::size_t> result;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t before = (i + n - 1) % n, after = (i + 1) % n;
        if (orient_sign(loop[before], loop[i], loop[after], shadows[before], shadows[i], shadows[after]) != 0) {
            result.push_back(i);
        }
    }
    return result;
}

struct Region {
    std::vector<std::vector<Point2>> loops;  // the local ones, with the region on the left
    bool holds_passive = false;
    std::vector<std::vector<Vec3>> loops3;   // the same in space where known (from convex pieces), or none
};

// The regions named by `region` (per cycle, −1 for none), with their boundary loops.
std::vector<Region> regions_of(const Arrangement& a, const std::vector<int>& region) {
    std::map<int, Region> by_root;
    for (const BoundaryLoop& loop : region_boundaries(a, region)) {
        poll_interrupt();
        by_root[loop.region].loops.push_back(corners_of(a, loop));
    }
    std::vector<Region> result;
    for (auto& [root, r] : by_root) result.push_back(std::move(r));
    return result;
}

FacePtr face_of(const BodyFace& face, Region& r, const std::vector<LoopPtr>& passive) {
    std::vector<LoopPtr> loops;
    std::vector<LoopPtr> holes;
    if (r.holds_passive) loops.push_back(passive.front());
    for (std::size_t i = 0; i < r.loops.size(); ++i) {
        const bool outer = !r.holds_passive && (r.loops.size() == 1 || loop_area2(r.loops[i]).sign() > 0);
        std::vector<Vec3> points = r.loops3.empty() ? lift_loop(r.loops[i], face) : std::move(r.loops3[i]);
        if (!r.loops3.empty() && face.turn < 0) std::reverse(points.begin(), points.end());
        LoopPtr loop = make_loop(std::move(points), *face.frame);
        if (outer) {
            loops.insert(loops.begin(), std::move(loop));
        } else {
            holes.push_back(std::move(loop));
        }
    }
    if (r.holds_passive) holes.insert(holes.end(), passive.begin() + 1, passive.end());
    loops.insert(loops.end(), holes.begin(), holes.end());
    return make_face(face.plane, face.frame, face.label, std::move(loops));
}

// Kept pieces of the local arrangements, joined through the sides between them; the piece outside
// every cluster joins those next to it in each arrangement.
std::vector<Region> arrangement_regions(const FacePieces& fp, const std::vector<char>& kept) {
    std::vector<int> parent(fp.pieces.size());
    std::iota(parent.begin(), parent.end(), 0);
    for (std::size_t k = 0; k < fp.arrangements.size(); ++k) {
        const Arrangement& a = fp.arrangements[k];
        const std::vector<int>& piece_of = fp.piece_of_cycle[k];
        for (int e = 0; e < a.edge_count(); ++e) {
            const int p = piece_of[a.cycle[2 * e]], q = piece_of[a.cycle[2 * e + 1]];
            if (p >= 0 && q >= 0 && kept[p] && kept[q]) parent[region_root(parent, p)] = region_root(parent, q);
        }
    }
    int holding = -1;
    for (std::size_t p = 0; p < fp.pieces.size(); ++p) {
        if (fp.pieces[p].holds_passive && kept[p]) holding = region_root(parent, static_cast<int>(p));
    }
    std::map<int, Region> by_root;
    for (std::size_t k = 0; k < fp.arrangements.size(); ++k) {
        const Arrangement& a = fp.arrangements[k];
        std::vector<int> region(a.cycle_count(), -1);
        for (int c = 0; c < a.cycle_count(); ++c) {
            const int p = fp.piece_of_cycle[k][c];
            if (p >= 0 && kept[p]) region[c] = region_root(parent, p);
        }
        for (const BoundaryLoop& loop : region_boundaries(a, region)) {
            poll_interrupt();
            by_root[loop.region].loops.push_back(corners_of(a, loop));
        }
    }
    std::vector<Region> result;
    for (auto& [root, r] : by_root) {
        r.holds_passive = root == holding;
        result.push_back(std::move(r));
    }
    return result;
}

// Kept convex pieces joined by their sides: pieces cut from one face along whole chords meet side to
// side with equal ends, so the sides two kept pieces share cancel exactly, and the rest chain into
// loops. Nothing when the chaining is not plain (a vertex with two ways on, where kept pieces meet
// at a point), or when several outer loops come with holes that would have to be placed.
std::optional<std::vector<Region>> chained_regions(const FacePieces& fp, const std::vector<char>& kept) {
    // A face is cut into a few pieces here, so plain scans beat any index.
    struct Side {
        const Point2* from;
        const Point2* to;
        const Vec3* from3;
        bool live = true;
    };
    std::vector<Side> sides;
    for (std::size_t p = 0; p < fp.pieces.size(); ++p) {
        if (!kept[p]) continue;
        const std::vector<Point2>& loop = fp.pieces[p].loops[0];
        for (std::size_t i = 0; i < loop.size(); ++i) sides.push_back({&loop[i], &loop[(i + 1) % loop.size()], &fp.pieces[p].loop3[i]});
    }
    for (Side& s : sides) {
        for (Side& t : sides) {
            if (s.live && t.live && *t.from == *s.to && *t.to == *s.from) s.live = t.live = false;
        }
    }
    std::vector<Region> regions;
    std::vector<std::vector<Point2>> holes;
    std::vector<std::vector<Vec3>> holes3;
    for (Side& first : sides) {
        if (!first.live) continue;
        std::vector<Point2> loop;
        std::vector<Vec3> loop3;
        Side* s = &first;
        while (true) {
            poll_interrupt();
            s->live = false;
            loop.push_back(*s->from);
            loop3.push_back(*s->from3);
            Side* next = nullptr;
            for (Side& t : sides) {
                if (!(t.live && *t.from == *s->to)) continue;
                if (next) return std::nullopt;  // kept pieces meet at a point: not a plain chain
                next = &t;
            }
            if (!next) break;
            s = next;
        }
        if (*s->to != *first.from) return std::nullopt;
        const std::vector<std::size_t> corners = corner_indices(loop);
        std::vector<Point2> kept2;
        std::vector<Vec3> kept3;
        for (std::size_t i : corners) {
            kept2.push_back(std::move(loop[i]));
            kept3.push_back(std::move(loop3[i]));
        }
        if (loop_area2(kept2).sign() > 0) {
            regions.push_back({{std::move(kept2)}, false, {std::move(kept3)}});
        } else {
            holes.push_back(std::move(kept2));
            holes3.push_back(std::move(kept3));
        }
    }
    if (holes.empty()) return regions;
    if (regions.size() != 1) return std::nullopt;
    for (std::size_t h = 0; h < holes.size(); ++h) {
        regions[0].loops.push_back(std::move(holes[h]));
        regions[0].loops3.push_back(std::move(holes3[h]));
    }
    return regions;
}

// Kept convex pieces, joined by summing their loops: sides between two kept pieces cancel.
std::vector<Region> convex_regions(const FacePieces& fp, const std::vector<char>& kept) {
    std::vector<Segment2> segments;
    for (std::size_t p = 0; p < fp.pieces.size(); ++p) {
        if (!kept[p]) continue;
        const std::vector<Point2>& loop = fp.pieces[p].loops[0];
        for (std::size_t i = 0; i < loop.size(); ++i) segments.push_back({loop[i], loop[(i + 1) % loop.size()], 0});
    }
    const Arrangement a = build_arrangement(segments);
    const FaceWindings fw = face_windings(a);
    std::vector<int> parent(a.cycle_count());
    std::iota(parent.begin(), parent.end(), 0);
    for (int c = 0; c < a.cycle_count(); ++c) {
        if (fw.enclosing[c] >= 0) parent[region_root(parent, c)] = region_root(parent, fw.enclosing[c]);
    }
    std::vector<int> region(a.cycle_count(), -1);
    for (int c = 0; c < a.cycle_count(); ++c) {
        if (total(fw.winding[c]) != 0) region[c] = region_root(parent, c);
    }
    return regions_of(a, region);
}

}  // namespace

std::vector<FacePtr> kept_faces(const BodyFace& face, const FacePieces& fp, const std::vector<char>& kept) {
    std::vector<Region> regions;
    if (!fp.arrangements.empty()) {
        regions = arrangement_regions(fp, kept);
    } else if (std::count(kept.begin(), kept.end(), 1) == 1) {
        const std::size_t p = static_cast<std::size_t>(std::find(kept.begin(), kept.end(), 1) - kept.begin());
        regions.push_back({{fp.pieces[p].loops[0]}, false, {fp.pieces[p].loop3}});
    } else if (std::optional<std::vector<Region>> chained = chained_regions(fp, kept)) {
        regions = std::move(*chained);
    } else {
        regions = convex_regions(fp, kept);
    }
    std::vector<FacePtr> faces;
    for (Region& r : regions) faces.push_back(face_of(face, r, fp.passive));
    return faces;
}

}  // namespace brevant
