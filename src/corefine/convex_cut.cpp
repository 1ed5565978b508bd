#include "corefine/convex_cut.hpp"

#include <algorithm>

#include "arrangement/convexity.hpp"
#include "arrangement/orientation.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

struct Corner {
    Point2 point;
    FloatPoint shadow;
    bool boundary;  // the side from this corner to the next lies on the face's boundary
    bool cut;       // a cut lies along that side
};

using ConvexPiece = std::vector<Corner>;

Corner corner(Point2 p, bool boundary, bool cut) {
    const FloatPoint f = shadow(p);
    return {std::move(p), f, boundary, cut};
}

// The parameter of x along p → q (0 at p, 1 at q), for x on that line.
Rational along(const Point2& p, const Point2& q, const Point2& x) {
    const Rational dx = q[0] - p[0], dy = q[1] - p[1];
    return ((x[0] - p[0]) * dx + (x[1] - p[1]) * dy) / (dx * dx + dy * dy);
}

bool within(const Rational& t) { return t.sign() >= 0 && t <= Rational(1); }

// Marks the part of each side lying on the cut's line and inside the cut as cut, splitting sides
// at the cut's ends where it covers them only in part.
ConvexPiece mark_along(const ConvexPiece& piece, const std::vector<int>& side_of, const Point2& p, const Point2& q) {
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
            out.push_back(corner(*e, piece[i].boundary, piece[i].cut));
            stops.push_back(t);
        }
        stops.push_back(tj);
        // Each sub-side is cut when its middle lies within the cut.
        const std::size_t first = out.size() - 1 - ends.size();
        for (std::size_t k = 0; k + 1 < stops.size(); ++k) {
            const Rational middle = (stops[k] + stops[k + 1]) * Rational(BigInt(1), BigInt(2));
            if (within(middle)) out[first + k].cut = true;
        }
    }
    return out;
}

// The crossing of side a → b with the line through p and q, a and b strictly on opposite sides.
Point2 crossing(const Point2& a, const Point2& b, const Point2& p, const Point2& q) {
    const Rational fa = orient2(p, q, a), fb = orient2(p, q, b);
    const Rational t = fa / (fa - fb);
    return {a[0] + t * (b[0] - a[0]), a[1] + t * (b[1] - a[1])};
}

// Splits the piece along the chord of the cut's line; nothing when the cut does not reach across
// and `whole_lines` is false.
std::optional<std::pair<ConvexPiece, ConvexPiece>> split(const ConvexPiece& piece, const std::vector<int>& side_of,
                                                          const Point2& p, const Point2& q, bool whole_lines) {
    ConvexPiece left, right;
    std::vector<Point2> chord;
    const std::size_t n = piece.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        const Corner& c = piece[i];
        if (side_of[i] >= 0) left.push_back(c);
        if (side_of[i] <= 0) right.push_back(c);
        if (side_of[i] == 0) chord.push_back(c.point);
        if (side_of[i] * side_of[j] < 0) {
            const Point2 x = crossing(c.point, piece[j].point, p, q);
            chord.push_back(x);
            left.push_back(corner(x, c.boundary, c.cut));
            right.push_back(corner(x, c.boundary, c.cut));
        }
    }
    if (chord.size() != 2) return std::nullopt;
    if (!whole_lines && (!within(along(p, q, chord[0])) || !within(along(p, q, chord[1])))) return std::nullopt;
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
    std::vector<ConvexPiece> pieces(1);
    for (const Point2& v : loop) pieces[0].push_back(corner(v, true, false));
    for (const Segment2& cut : cuts) {
        if (cut.from == cut.to) continue;
        const FloatPoint fp = shadow(cut.from), fq = shadow(cut.to);
        std::vector<ConvexPiece> next;
        for (ConvexPiece& piece : pieces) {
            poll_interrupt();
            std::vector<int> side_of;
            bool left = false, right = false;
            for (const Corner& c : piece) {
                side_of.push_back(orient_sign(cut.from, cut.to, c.point, fp, fq, c.shadow));
                left = left || side_of.back() > 0;
                right = right || side_of.back() < 0;
            }
            if (!(left && right)) {
                next.push_back(mark_along(piece, side_of, cut.from, cut.to));
                continue;
            }
            std::optional<std::pair<ConvexPiece, ConvexPiece>> halves = split(piece, side_of, cut.from, cut.to, whole_lines);
            if (!halves) return std::nullopt;
            next.push_back(std::move(halves->first));
            next.push_back(std::move(halves->second));
        }
        pieces = std::move(next);
    }
    std::vector<Piece> result;
    for (const ConvexPiece& piece : pieces) {
        Piece out{{{}}, 0, false, {}};
        for (std::size_t i = 0; i < piece.size(); ++i) {
            out.loops[0].push_back(piece[i].point);
            if (piece[i].boundary) {
                out.sides.push_back({face.frame->lift(piece[i].point), face.frame->lift(piece[(i + 1) % piece.size()].point),
                                     piece[i].cut});
            }
        }
        result.push_back(std::move(out));
    }
    return result;
}

}  // namespace brevant
