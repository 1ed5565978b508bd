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

int find(std::vector<int>& parent, int c) {
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

// The pieces of the local arrangement: each bounded face is its outer cycle with the outsides of
// the components nested in it; the unbounded face gathers the outsides of the components nested in
// nothing, and lies inside the face exactly when the outer loop encloses everything local.
FacePieces arrangement_pieces(const BodyFace& face, const std::vector<Segment2>& cuts, const Selection& s) {
    FacePieces result;
    for (std::size_t i = 0; i < face.loops.size(); ++i) {
        if (!s.local[i]) result.passive.push_back(face.loops[i]);
    }
    const Arrangement& a = result.arrangement.emplace(build_arrangement(local_segments(face, cuts, s)));
    const FaceWindings fw = face_windings(a);
    const int offset = s.outer_encloses ? face.turn : 0;
    const int cycles = a.cycle_count();
    std::vector<int> parent(cycles + 1);  // the last entry stands for the unbounded face
    std::iota(parent.begin(), parent.end(), 0);
    for (int c = 0; c < cycles; ++c) {
        if (fw.enclosing[c] >= 0) {
            parent[find(parent, c)] = find(parent, fw.enclosing[c]);
        } else if (a.cycle_area2[c].sign() <= 0) {
            parent[find(parent, c)] = find(parent, cycles);
        }
    }
    const int unbounded = find(parent, cycles);
    std::vector<int> piece_of_root(cycles + 1, -1);
    result.piece_of_cycle.assign(cycles, -1);
    for (int c = 0; c < cycles; ++c) {
        const int root = find(parent, c);
        if (total(fw.winding[c]) + offset == 0) continue;  // outside the face
        if (piece_of_root[root] < 0) {
            piece_of_root[root] = static_cast<int>(result.pieces.size());
            result.pieces.emplace_back();
            result.pieces.back().outer = -1;
            result.pieces.back().holds_passive = root == unbounded;
        }
        result.piece_of_cycle[c] = piece_of_root[root];
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
    return result;
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

FacePieces face_pieces(const BodyFace& face, const std::vector<Segment2>& cuts) {
    if (cuts.empty()) return whole_face(face);
    if (std::optional<std::vector<Piece>> pieces = convex_cut(face, cuts)) {
        FacePieces result;
        result.pieces = std::move(*pieces);
        return result;
    }
    return local_pieces(face, cuts);
}

FacePieces local_pieces(const BodyFace& face, const std::vector<Segment2>& cuts) {
    const Selection s = select_loops(face, cuts);
    if (s.outer_apart) return whole_face(face);  // every cut lies outside the face
    return arrangement_pieces(face, cuts, s);
}

}  // namespace brevant
