#include "corefine/convex_cut.hpp"

#include <algorithm>
#include <optional>

#include "arrangement/convexity.hpp"
#include "arrangement/orientation.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

struct Corner {
    Point2 point;
    Vec3 space;  // the point in space, found once: pieces on both sides of a chord share it
    FloatPoint shadow;
    bool boundary;  // the side from this corner to the next lies on the face's boundary
    bool cut;       // a cut lies along that side
};

using ConvexPiece = std::vector<Corner>;

Corner corner(Point2 p, Vec3 space, bool boundary, bool cut) {
    const FloatPoint f = shadow(p);
    return {std::move(p), std::move(space), f, boundary, cut};
}

// The parameter of x along p → q, for x on that line, scaled by |q − p|²: 0 at p, |q − p|² at q.
// Only ever compared, so never divided.
Rational along(const Point2& p, const Point2& q, const Point2& x) {
    return (x[0] - p[0]) * (q[0] - p[0]) + (x[1] - p[1]) * (q[1] - p[1]);
}

// Marks the part of each side lying on the cut's line and inside the cut as cut, splitting sides
// at the cut's ends where it covers them only in part.
ConvexPiece mark_along(const ConvexPiece& piece, const std::vector<int>& side_of, const Point2& p, const Point2& q,
                       const PlaneFrame& frame) {
    ConvexPiece out;
    const std::size_t n = piece.size();
    for (std::size_t i = 0; i < n; ++i) {
        out.push_back(piece[i]);
        const std::size_t j = (i + 1) % n;
        if (side_of[i] != 0 || side_of[j] != 0) continue;
        // The side i → j lies on the line: split it at the cut's ends inside it, then mark.
        const Rational ti = along(p, q, piece[i].point), tj = along(p, q, piece[j].point);
        std::vector<std::pair<Rational, const Point2*>> ends;
        for (const Point2* e : {&p, &q}) {
            const Rational te = along(p, q, *e);
            if ((ti < te && te < tj) || (tj < te && te < ti)) ends.push_back({te, e});
        }
        std::sort(ends.begin(), ends.end(), [&](const auto& x, const auto& y) { return ti < tj ? x.first < y.first : y.first < x.first; });
        std::vector<Rational> stops{ti};
        for (const auto& [t, e] : ends) {
            out.push_back(corner(*e, frame.lift(*e), piece[i].boundary, piece[i].cut));
            stops.push_back(t);
        }
        stops.push_back(tj);
        // Each sub-side is cut when its middle lies within the cut: twice the middle's parameter
        // between 0 and twice the cut's length squared.
        const Rational twice_length = along(p, q, q) * Rational(2);
        const std::size_t first = out.size() - 1 - ends.size();
        for (std::size_t k = 0; k + 1 < stops.size(); ++k) {
            const Rational twice_middle = stops[k] + stops[k + 1];
            if (twice_middle.sign() >= 0 && twice_middle <= twice_length) out[first + k].cut = true;
        }
    }
    return out;
}

// The crossing of side a → b with the line through p and q, a and b strictly on opposite sides.
// Lines along an axis, the common case, need only the other coordinate.
Point2 crossing(const Point2& a, const Point2& b, const Point2& p, const Point2& q) {
    for (int axis = 0; axis < 2; ++axis) {
        if (p[axis] != q[axis]) continue;
        const int other = 1 - axis;
        Point2 x;
        x[axis] = p[axis];
        x[other] = a[other] == b[other] ? a[other] : a[other] + (p[axis] - a[axis]) * (b[other] - a[other]) / (b[axis] - a[axis]);
        return x;
    }
    const Rational fa = orient2(p, q, a), fb = orient2(p, q, b);
    const Rational t = fa / (fa - fb);
    return {a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1])};
}

// Splits the piece along the chord of the cut's line; nothing when the cut does not reach across
// and `whole_lines` is false.
std::optional<std::pair<ConvexPiece, ConvexPiece>> split(ConvexPiece&& piece, const std::vector<int>& side_of,
                                                          const Point2& p, const Point2& q, bool whole_lines,
                                                          const PlaneFrame& frame) {
    ConvexPiece left, right;
    std::vector<Point2> chord;
    const std::size_t n = piece.size();
    left.reserve(n + 2);
    right.reserve(n + 2);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        // A crossing needs this corner and the next before either moves; the last one's next is the
        // first, which is therefore copied, not moved.
        std::optional<Corner> crossed;
        if (side_of[i] * side_of[j] < 0) {
            Point2 x = crossing(piece[i].point, piece[j].point, p, q);
            Vec3 x3 = frame.lift(x);
            crossed = corner(std::move(x), std::move(x3), piece[i].boundary, piece[i].cut);
        }
        if (side_of[i] == 0) {
            chord.push_back(piece[i].point);
            left.push_back(piece[i]);
            right.push_back(i == 0 ? piece[i] : std::move(piece[i]));
        } else {
            (side_of[i] > 0 ? left : right).push_back(i == 0 ? piece[i] : std::move(piece[i]));
        }
        if (crossed) {
            chord.push_back(crossed->point);
            left.push_back(*crossed);
            right.push_back(std::move(*crossed));
        }
    }
    if (chord.size() != 2) return std::nullopt;
    const Rational length = along(p, q, q);
    auto within = [&](const Point2& x) {
        const Rational t = along(p, q, x);
        return t.sign() >= 0 && t <= length;
    };
    if (!whole_lines && (!within(chord[0]) || !within(chord[1]))) return std::nullopt;
    // The side that runs along the chord is new: inside the face, and cut.
    for (ConvexPiece* part : {&left, &right}) {
        for (std::size_t i = 0; i < part->size(); ++i) {
            const Point2& a = (*part)[i].point;
            const Point2& b = (*part)[(i + 1) % part->size()].point;
            if ((a == chord[0] && b == chord[1]) || (a == chord[1] && b == chord[0])) {
                (*part)[i].boundary = false;
                (*part)[i].cut = true;
            }
        }
    }
    return std::pair{std::move(left), std::move(right)};
}

}  // namespace

std::optional<std::vector<Piece>> convex_cut(const BodyFace& face, const std::vector<Segment2>& cuts) {
    if (face.loops.size() != 1) return std::nullopt;
    // A few cuts may divide the face along their whole lines: extra pieces cost less than an
    // arrangement. Many would cut it into a grid.
    constexpr std::size_t kFewCuts = 6;
    const bool whole_lines = cuts.size() <= kFewCuts;
    std::vector<Point2> loop = face.loops[0]->points2;
    if (face.turn < 0) std::reverse(loop.begin(), loop.end());
    if (convex_turn(loop) <= 0) return std::nullopt;
    std::vector<Vec3> loop3 = face.loops[0]->points;
    if (face.turn < 0) std::reverse(loop3.begin(), loop3.end());
    std::vector<int> side_of;
    std::vector<ConvexPiece> pieces(1);
    for (std::size_t i = 0; i < loop.size(); ++i) pieces[0].push_back(corner(loop[i], loop3[i], true, false));
    for (const Segment2& cut : cuts) {
        if (cut.from == cut.to) continue;
        const FloatPoint fp = shadow(cut.from), fq = shadow(cut.to);
        std::vector<ConvexPiece> next;
        next.reserve(pieces.size() + 2);
        for (ConvexPiece& piece : pieces) {
            poll_interrupt();
            side_of.clear();
            bool left = false, right = false, along = false;
            for (const Corner& c : piece) {
                side_of.push_back(orient_sign(cut.from, cut.to, c.point, fp, fq, c.shadow));
                left = left || side_of.back() > 0;
                right = right || side_of.back() < 0;
                along = along || (side_of.back() == 0 && side_of.size() > 1 && side_of[side_of.size() - 2] == 0);
            }
            along = along || (side_of.front() == 0 && side_of.back() == 0);
            if (!(left && right)) {
                next.push_back(along ? mark_along(piece, side_of, cut.from, cut.to, *face.frame) : std::move(piece));
                continue;
            }
            std::optional<std::pair<ConvexPiece, ConvexPiece>> halves =
                split(std::move(piece), side_of, cut.from, cut.to, whole_lines, *face.frame);
            if (!halves) return std::nullopt;
            next.push_back(std::move(halves->first));
            next.push_back(std::move(halves->second));
        }
        pieces = std::move(next);
    }
    std::vector<Piece> result;
    for (ConvexPiece& piece : pieces) {
        Piece out;
        out.loops.emplace_back();
        out.convex = true;
        for (std::size_t i = 0; i < piece.size(); ++i) {
            if (piece[i].boundary) out.sides.push_back({piece[i].space, piece[(i + 1) % piece.size()].space, piece[i].cut});
        }
        for (Corner& c : piece) {
            out.loops[0].push_back(std::move(c.point));
            out.loop3.push_back(std::move(c.space));
        }
        result.push_back(std::move(out));
    }
    return result;
}

}  // namespace brevant
