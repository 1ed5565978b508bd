#include "corefine/kept_regions.hpp"

#include <algorithm>
#include <map>
#include <numeric>
#include <optional>
#include <unordered_map>

#include "arrangement/face_windings.hpp"
#include "arrangement/orientation.hpp"
#include "arrangement/region_boundary.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

int find(std::vector<int>& parent, int c) {
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

// The loop without the points where it runs straight on.
std::vector<Point2> drop_straight(const std::vector<Point2>& loop) {
    const std::size_t n = loop.size();
    std::vector<FloatPoint> shadows(n);
    for (std::size_t i = 0; i < n; ++i) shadows[i] = shadow(loop[i]);
    std::vector<Point2> result;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t before = (i + n - 1) % n, after = (i + 1) % n;
        if (orient_sign(loop[before], loop[i], loop[after], shadows[before], shadows[i], shadows[after]) != 0) {
            result.push_back(loop[i]);
        }
    }
    return result;
}

struct Region {
    std::vector<std::vector<Point2>> loops;  // the local ones, with the region on the left
    bool holds_passive = false;
};

// The regions named by `region` (per cycle, −1 for none), with their boundary loops.
std::vector<Region> regions_of(const Arrangement& a, const std::vector<int>& region, int holding_passive) {
    std::map<int, Region> by_root;
    for (const BoundaryLoop& loop : region_boundaries(a, region)) {
        poll_interrupt();
        by_root[loop.region].loops.push_back(corners_of(a, loop));
    }
    std::vector<Region> result;
    for (auto& [root, r] : by_root) {
        r.holds_passive = root == holding_passive;
        result.push_back(std::move(r));
    }
    return result;
}

FacePtr face_of(const BodyFace& face, Region& r, const std::vector<LoopPtr>& passive) {
    std::vector<LoopPtr> loops;
    std::vector<LoopPtr> holes;
    if (r.holds_passive) loops.push_back(passive.front());
    for (std::vector<Point2>& loop2 : r.loops) {
        const bool outer = !r.holds_passive && loop_area2(loop2).sign() > 0;
        LoopPtr loop = make_loop(lift_loop(loop2, face), *face.frame);
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

// Kept pieces of the local arrangement, joined through the sides between them.
std::vector<Region> arrangement_regions(const FacePieces& fp, const std::vector<char>& kept) {
    const Arrangement& a = *fp.arrangement;
    std::vector<int> parent(fp.pieces.size());
    std::iota(parent.begin(), parent.end(), 0);
    for (int e = 0; e < a.edge_count(); ++e) {
        const int p = fp.piece_of_cycle[a.cycle[2 * e]], q = fp.piece_of_cycle[a.cycle[2 * e + 1]];
        if (p >= 0 && q >= 0 && kept[p] && kept[q]) parent[find(parent, p)] = find(parent, q);
    }
    std::vector<int> region(a.cycle_count(), -1);
    for (int c = 0; c < a.cycle_count(); ++c) {
        const int p = fp.piece_of_cycle[c];
        if (p >= 0 && kept[p]) region[c] = find(parent, p);
    }
    int holding = -1;
    for (std::size_t p = 0; p < fp.pieces.size(); ++p) {
        if (fp.pieces[p].holds_passive && kept[p]) holding = find(parent, static_cast<int>(p));
    }
    return regions_of(a, region, holding);
}

// Kept convex pieces joined by their sides: pieces cut from one face along whole chords meet side to
// side with equal ends, so the sides two kept pieces share cancel exactly, and the rest chain into
// loops. Nothing when the chaining is not plain (a vertex with two ways on, where kept pieces meet
// at a point), or when several outer loops come with holes that would have to be placed.
std::optional<std::vector<Region>> chained_regions(const FacePieces& fp, const std::vector<char>& kept) {
    struct PointHash {
        std::size_t operator()(const Point2& p) const { return p[0].hash() * 31 + p[1].hash(); }
    };
    std::unordered_map<Point2, std::vector<const Point2*>, PointHash> out;  // per start: the ends of its sides
    for (std::size_t p = 0; p < fp.pieces.size(); ++p) {
        if (!kept[p]) continue;
        const std::vector<Point2>& loop = fp.pieces[p].loops[0];
        for (std::size_t i = 0; i < loop.size(); ++i) out[loop[i]].push_back(&loop[(i + 1) % loop.size()]);
    }
    for (auto& [from, ends] : out) {
        for (auto it = ends.begin(); it != ends.end();) {
            std::vector<const Point2*>& back = out.at(**it);  // every side's end starts a side too
            auto twin = std::find_if(back.begin(), back.end(), [&](const Point2* e) { return *e == from; });
            if (twin != back.end()) {
                back.erase(twin);
                it = ends.erase(it);
            } else {
                ++it;
            }
        }
    }
    std::vector<std::vector<Point2>> loops;
    for (auto& [start, ends] : out) {
        if (ends.size() > 1) return std::nullopt;
        if (ends.empty()) continue;
        std::vector<Point2> loop{start};
        for (const Point2* next = ends.front(); *next != start;) {
            auto at = out.find(*next);
            if (at == out.end() || at->second.size() != 1) return std::nullopt;
            loop.push_back(*next);
            const Point2* after = at->second.front();
            at->second.clear();
            next = after;
        }
        ends.clear();
        loops.push_back(drop_straight(loop));
    }
    std::vector<Region> regions;
    std::vector<std::vector<Point2>> holes;
    for (std::vector<Point2>& loop : loops) {
        if (loop_area2(loop).sign() > 0) {
            regions.push_back({{std::move(loop)}, false});
        } else {
            holes.push_back(std::move(loop));
        }
    }
    if (holes.empty()) return regions;
    if (regions.size() != 1) return std::nullopt;
    for (std::vector<Point2>& hole : holes) regions[0].loops.push_back(std::move(hole));
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
        if (fw.enclosing[c] >= 0) parent[find(parent, c)] = find(parent, fw.enclosing[c]);
    }
    std::vector<int> region(a.cycle_count(), -1);
    for (int c = 0; c < a.cycle_count(); ++c) {
        if (total(fw.winding[c]) != 0) region[c] = find(parent, c);
    }
    return regions_of(a, region, -1);
}

}  // namespace

std::vector<FacePtr> kept_faces(const BodyFace& face, const FacePieces& fp, const std::vector<char>& kept) {
    std::vector<Region> regions;
    if (fp.arrangement) {
        regions = arrangement_regions(fp, kept);
    } else if (std::count(kept.begin(), kept.end(), 1) == 1) {
        const std::size_t p = static_cast<std::size_t>(std::find(kept.begin(), kept.end(), 1) - kept.begin());
        regions.push_back({{drop_straight(fp.pieces[p].loops[0])}, false});
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
