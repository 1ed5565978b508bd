#include "corefine/face_pieces.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "arrangement/face_windings.hpp"
#include "corefine/convex_cut.hpp"
#include "corefine/point_location.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

int root_of(std::vector<int>& parent, int c) {
    while (parent[c] != c) c = parent[c] = parent[parent[c]];
    return c;
}

Box2 shadow_box(const Point2& p, const Point2& q) {
    Box2 box{{INFINITY, INFINITY}, {-INFINITY, -INFINITY}};
    for (const Point2* x : {&p, &q}) {
        for (int a = 0; a < 2; ++a) {
            const double v = (*x)[a].to_double();
            if (!std::isfinite(v)) return {{-INFINITY, -INFINITY}, {INFINITY, INFINITY}};
            box.lo[a] = std::min(box.lo[a], v);
            box.hi[a] = std::max(box.hi[a], v);
        }
    }
    for (int a = 0; a < 2; ++a) {
        const double margin = 1e-9 * std::max(std::fabs(box.lo[a]), std::fabs(box.hi[a])) + 1e-300;
        box.lo[a] -= margin;
        box.hi[a] += margin;
    }
    return box;
}

// Whether a side of the loop may come within `box`.
bool side_near(const Loop& loop, const Box2& box, int axis) {
    const int u = (axis + 1) % 3, v = (axis + 2) % 3;
    const std::size_t n = loop.floats.size();
    for (std::size_t i = 0; i < n; ++i) {
        const FloatVertex& p = loop.floats[i];
        const FloatVertex& q = loop.floats[(i + 1) % n];
        const Box2 side{{std::min(p[u], q[u]), std::min(p[v], q[v])}, {std::max(p[u], q[u]), std::max(p[v], q[v])}};
        // The side's shadow box, widened as the loop's own box is; NaN shadows compare false, so
        // the side counts as near.
        const double mu = 1e-9 * std::max(std::fabs(side.lo[0]), std::fabs(side.hi[0])) + 1e-300;
        const double mv = 1e-9 * std::max(std::fabs(side.lo[1]), std::fabs(side.hi[1])) + 1e-300;
        if (!(side.hi[0] + mu < box.lo[0] || box.hi[0] < side.lo[0] - mu || side.hi[1] + mv < box.lo[1] ||
              box.hi[1] < side.lo[1] - mv)) {
            return true;
        }
    }
    return false;
}

// Which loops the local arrangement needs: every loop whose box meets the box of what is already
// local, grown until nothing more is added. The outer loop joins only when a side of it comes near;
// otherwise it lies round everything local or apart from it, and `encloses` says which.
struct Selection {
    std::vector<char> local;
    bool outer_encloses = false;
    bool outer_apart = false;
};

Selection select_loops(const BodyFace& face, const std::vector<Segment2>& cuts) {
    Selection s{std::vector<char>(face.loops.size(), 0)};
    Box2 box = shadow_box(cuts[0].from, cuts[0].to);
    for (const Segment2& c : cuts) box.extend(shadow_box(c.from, c.to));
    for (bool grown = true; grown;) {
        grown = false;
        for (std::size_t i = 0; i < face.loops.size(); ++i) {
            poll_interrupt();
            const Loop& loop = *face.loops[i];
            if (s.local[i] || !loop.box2.overlaps(box)) continue;
            if (i == 0 && !side_near(loop, box, face.frame->axis)) continue;
            s.local[i] = 1;
            box.extend(loop.box2);
            grown = true;
        }
    }
    if (!s.local[0]) {
        // No side of the outer loop comes near the local box, which is connected: the loop lies
        // round all of it or round none of it, and a cut's end tells which.
        const std::optional<int> w = winding_number(face.loops[0]->points2, cuts[0].from);
        s.outer_encloses = w && *w != 0;
        s.outer_apart = !s.outer_encloses;
    }
    return s;
}

std::vector<Segment2> local_segments(const BodyFace& face, const std::vector<Segment2>& cuts, const Selection& s) {
    std::vector<Segment2> segments = cuts;
    for (std::size_t i = 0; i < face.loops.size(); ++i) {
        if (!s.local[i]) continue;
        const std::vector<Point2>& loop = face.loops[i]->points2;
        const std::size_t n = loop.size();
        for (std::size_t k = 0; k < n; ++k) segments.push_back({loop[k], loop[(k + 1) % n], 0});
    }
    return segments;
}

// Adds the pieces of one local arrangement: each bounded face is its outer cycle with the outsides
// of the components nested in it; the unbounded face gathers the outsides of the components nested
// in nothing, and lies inside the face exactly when the outer loop encloses everything local
// (`offset` is then its winding there). Pieces of the unbounded face all go to piece `outside`,
// made when first needed.
void add_arrangement_pieces(const BodyFace& face, Arrangement a, int offset, int& outside, FacePieces& result) {
    const FaceWindings fw = face_windings(a);
    const int cycles = a.cycle_count();
    std::vector<int> parent(cycles + 1);  // the last entry stands for the unbounded face
    std::iota(parent.begin(), parent.end(), 0);
    for (int c = 0; c < cycles; ++c) {
        if (fw.enclosing[c] >= 0) {
            parent[root_of(parent, c)] = root_of(parent, fw.enclosing[c]);
        } else if (a.cycle_area2[c].sign() <= 0) {
            parent[root_of(parent, c)] = root_of(parent, cycles);
        }
    }
    const int unbounded = root_of(parent, cycles);
    std::vector<int> piece_of_root(cycles + 1, -1);
    if (outside >= 0) piece_of_root[unbounded] = outside;
    std::vector<int> piece_of_cycle(cycles, -1);
    for (int c = 0; c < cycles; ++c) {
        const int root = root_of(parent, c);
        if (total(fw.winding[c]) + offset == 0) continue;  // outside the face
        if (piece_of_root[root] < 0) {
            piece_of_root[root] = static_cast<int>(result.pieces.size());
            result.pieces.emplace_back();
            result.pieces.back().outer = -1;
            result.pieces.back().holds_passive = root == unbounded;
            if (root == unbounded) outside = piece_of_root[root];
        }
        piece_of_cycle[c] = piece_of_root[root];
        Piece& piece = result.pieces[piece_of_root[root]];
        std::vector<Point2> loop;
        int h = a.cycle_first[c];
        do {
            poll_interrupt();
            loop.push_back(a.points[a.origin[h]]);
            if (!a.weights[h / 2].empty()) {
                piece.sides.push_back({face.frame->lift(loop.back()), face.frame->lift(a.points[a.dest(h)]),
                                       a.constrained[h / 2] != 0});
            }
            h = a.next[h];
        } while (h != a.cycle_first[c]);
        if (a.cycle_area2[c].sign() > 0) piece.outer = static_cast<int>(piece.loops.size());
        piece.loops.push_back(std::move(loop));
    }
    result.arrangements.push_back(std::move(a));
    result.piece_of_cycle.push_back(std::move(piece_of_cycle));
}

FacePieces arrangement_pieces(const BodyFace& face, const std::vector<Segment2>& cuts, const Selection& s) {
    FacePieces result;
    for (std::size_t i = 0; i < face.loops.size(); ++i) {
        if (!s.local[i]) result.passive.push_back(face.loops[i]);
    }
    int outside = -1;
    add_arrangement_pieces(face, build_arrangement(local_segments(face, cuts, s)), s.outer_encloses ? face.turn : 0,
                           outside, result);
    return result;
}

// Cuts in places apart from each other, each place with the holes that come near it; the outer
// loop comes near none of them.
struct Cluster {
    std::vector<int> cuts;
    std::vector<int> loops;
    Box2 box;
};

// Joins in `parent` every two boxes that meet, by a sweep along x so that only boxes that may
// meet are compared; true when any two met.
bool unite_meeting_boxes(const std::vector<Box2>& boxes, std::vector<int>& parent) {
    const std::size_t n = boxes.size();
    std::vector<int> by_left(n);
    std::iota(by_left.begin(), by_left.end(), 0);
    std::sort(by_left.begin(), by_left.end(), [&](int x, int y) { return boxes[x].lo[0] < boxes[y].lo[0]; });
    bool any = false;
    for (std::size_t i = 0; i < n; ++i) {
        poll_interrupt();  // every box, against those it may meet
        const Box2& left = boxes[by_left[i]];
        for (std::size_t j = i + 1; j < n && !(left.hi[0] < boxes[by_left[j]].lo[0]); ++j) {
            if (!left.overlaps(boxes[by_left[j]])) continue;
            parent[root_of(parent, by_left[i])] = root_of(parent, by_left[j]);
            any = true;
        }
    }
    return any;
}

// The clusters whose boxes meet, joined; the same clusters in the same order when none meet.
std::vector<Cluster> join_meeting(std::vector<Cluster> clusters) {
    const std::size_t n = clusters.size();
    std::vector<Box2> boxes;
    boxes.reserve(n);
    for (const Cluster& c : clusters) boxes.push_back(c.box);
    std::vector<int> parent(n);
    std::iota(parent.begin(), parent.end(), 0);
    if (!unite_meeting_boxes(boxes, parent)) return clusters;
    std::vector<Cluster> joined;
    std::vector<int> slot(n, -1);
    for (std::size_t i = 0; i < n; ++i) {
        int& k = slot[root_of(parent, static_cast<int>(i))];
        if (k < 0) {
            k = static_cast<int>(joined.size());
            joined.push_back({{}, {}, clusters[i].box});
        }
        Cluster& into = joined[k];
        into.cuts.insert(into.cuts.end(), clusters[i].cuts.begin(), clusters[i].cuts.end());
        into.box.extend(clusters[i].box);
    }
    return joined;
}

// The clusters of the cuts, or nothing when they make one or the outer loop comes near one.
std::optional<std::vector<Cluster>> clusters_of(const BodyFace& face, const std::vector<Segment2>& cuts) {
    const std::size_t n = cuts.size();
    std::vector<Box2> boxes;
    boxes.reserve(n);
    for (const Segment2& c : cuts) boxes.push_back(shadow_box(c.from, c.to));
    std::vector<int> parent(n);
    std::iota(parent.begin(), parent.end(), 0);
    unite_meeting_boxes(boxes, parent);
    std::vector<Cluster> clusters;
    std::vector<int> cluster_of(n, -1);
    for (std::size_t i = 0; i < n; ++i) {
        int& c = cluster_of[root_of(parent, static_cast<int>(i))];
        if (c < 0) {
            c = static_cast<int>(clusters.size());
            clusters.push_back({{}, {}, boxes[i]});
        }
        clusters[c].cuts.push_back(static_cast<int>(i));
        clusters[c].box.extend(boxes[i]);
    }
    // Each cluster takes the holes its box meets, growing, and clusters whose boxes meet join,
    // until neither changes: then no loop and no cut is near two clusters.
    while (clusters.size() > 1) {
        std::vector<char> taken(face.loops.size(), 0);
        for (Cluster& c : clusters) {
            poll_interrupt();
            c.loops.clear();
            for (bool grown = true; grown;) {
                grown = false;
                for (std::size_t i = 1; i < face.loops.size(); ++i) {
                    if (taken[i] || !face.loops[i]->box2.overlaps(c.box)) continue;
                    taken[i] = 1;
                    c.loops.push_back(static_cast<int>(i));
                    c.box.extend(face.loops[i]->box2);
                    grown = true;
                }
            }
        }
        const std::size_t before = clusters.size();
        clusters = join_meeting(std::move(clusters));
        if (clusters.size() == before) break;
    }
    if (clusters.size() < 2) return std::nullopt;
    for (const Cluster& c : clusters) {
        if (side_near(*face.loops[0], c.box, face.frame->axis)) return std::nullopt;
    }
    return clusters;
}

// The pieces of a face cut in several places apart: one arrangement per place, and one piece for
// the rest of the face. A place the outer loop does not enclose lies outside the face.
FacePieces clustered_pieces(const BodyFace& face, const std::vector<Segment2>& cuts, const std::vector<Cluster>& clusters) {
    FacePieces result;
    // The outer loop comes near no cluster, so it lies round all of one or none of it.
    std::vector<char> local(face.loops.size(), 0), inside(clusters.size(), 0);
    for (std::size_t k = 0; k < clusters.size(); ++k) {
        poll_interrupt();
        const std::optional<int> w = winding_number(face.loops[0]->points2, cuts[clusters[k].cuts.front()].from);
        inside[k] = w && *w != 0;
        if (!inside[k]) continue;
        for (int i : clusters[k].loops) local[i] = 1;
    }
    for (std::size_t i = 0; i < face.loops.size(); ++i) {
        if (!local[i]) result.passive.push_back(face.loops[i]);
    }
    int outside = -1;
    for (std::size_t k = 0; k < clusters.size(); ++k) {
        if (!inside[k]) continue;
        std::vector<Segment2> segments;
        for (int i : clusters[k].cuts) segments.push_back(cuts[i]);
        for (int i : clusters[k].loops) {
            const std::vector<Point2>& loop = face.loops[i]->points2;
            for (std::size_t j = 0; j < loop.size(); ++j) segments.push_back({loop[j], loop[(j + 1) % loop.size()], 0});
        }
        add_arrangement_pieces(face, build_arrangement(segments), face.turn, outside, result);
    }
    // Every cluster outside the face: the cuts divide nothing of it.
    if (outside < 0) return whole_face(face);
    return result;
}

// The cuts with each segment once: the faces of the other solid that lie in a face's plane often
// share sides (pieces of a chamfer meeting along them), and every copy would be met again.
std::vector<Segment2> distinct_cuts(std::vector<Segment2> cuts) {
    auto less = [](const Point2& p, const Point2& q) { return p[0] < q[0] || (p[0] == q[0] && p[1] < q[1]); };
    for (Segment2& c : cuts) {
        if (less(c.to, c.from)) std::swap(c.from, c.to);
    }
    std::sort(cuts.begin(), cuts.end(), [&](const Segment2& x, const Segment2& y) {
        return less(x.from, y.from) || (x.from == y.from && less(x.to, y.to));
    });
    cuts.erase(std::unique(cuts.begin(), cuts.end(), [](const Segment2& x, const Segment2& y) {
                   return x.from == y.from && x.to == y.to;
               }),
               cuts.end());
    return cuts;
}

}  // namespace

FacePieces whole_face(const BodyFace& face) {
    FacePieces result;
    result.passive = face.loops;
    Piece piece;
    piece.outer = -1;
    piece.holds_passive = true;
    for (const LoopPtr& loop : face.loops) {
        const std::size_t n = loop->points.size();
        for (std::size_t i = 0; i < n; ++i) piece.sides.push_back({loop->points[i], loop->points[(i + 1) % n], false});
    }
    result.pieces.push_back(std::move(piece));
    return result;
}

std::vector<Vec3> lift_loop(const std::vector<Point2>& loop2, const BodyFace& face) {
    std::vector<Vec3> loop;
    loop.reserve(loop2.size());
    for (const Point2& q : loop2) loop.push_back(face.frame->lift(q));
    if (face.turn < 0) std::reverse(loop.begin(), loop.end());
    return loop;
}

FacePieces face_pieces(const BodyFace& face, const std::vector<Segment2>& all_cuts) {
    if (all_cuts.empty()) return whole_face(face);
    constexpr std::size_t kFew = 4;
    const std::vector<Segment2> cuts = all_cuts.size() <= kFew ? all_cuts : distinct_cuts(all_cuts);
    if (std::optional<std::vector<Piece>> pieces = convex_cut(face, cuts)) {
        FacePieces result;
        result.pieces = std::move(*pieces);
        return result;
    }
    return local_pieces(face, cuts);
}

FacePieces local_pieces(const BodyFace& face, const std::vector<Segment2>& cuts) {
    if (std::optional<std::vector<Cluster>> clusters = clusters_of(face, cuts)) return clustered_pieces(face, cuts, *clusters);
    const Selection s = select_loops(face, cuts);
    if (s.outer_apart) return whole_face(face);  // every cut lies outside the face
    return arrangement_pieces(face, cuts, s);
}

}  // namespace brevant
