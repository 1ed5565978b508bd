#include "corefine/classification.hpp"

#include <algorithm>
#include <numeric>
#include <unordered_map>

#include "corefine/point_location.hpp"
#include "exact/failure.hpp"
#include "exact/interrupt.hpp"
#include "merge/line3.hpp"

namespace brevant {
namespace {

int find(std::vector<int>& parent, int c) {
    while (parent[c] != c) c = parent[c] = parent[parent[c]];
    return c;
}

struct Vec3Hash {
    std::size_t operator()(const Vec3& v) const { return (v[0].hash() * 31 + v[1].hash()) * 31 + v[2].hash(); }
};

}  // namespace

std::optional<Where> on_surface(const BodyFace& face, const Point2& inner, const Body& other,
                                const std::vector<int>& coplanar) {
    // Most faces of the other body in a large face's plane lie far from any one of its pieces.
    const std::array<double, 2> s{inner[0].to_double(), inner[1].to_double()};
    int winding = 0;
    for (int g : coplanar) {
        const BodyFace& face_g = *other.faces[g];
        if (face_g.loops[0]->box2.contains(s)) winding += face_winding(face_g, inner).value_or(0);
    }
    if (winding == 0) return std::nullopt;
    return (winding > 0) == (face.turn > 0) ? Where::Same : Where::Opposite;
}

Point2 piece_point(const BodyFace& face, const Piece& piece, const std::vector<LoopPtr>& passive, int attempt) {
    std::vector<LoopView> others;
    for (std::size_t i = 0; i < piece.loops.size(); ++i) {
        if (static_cast<int>(i) != piece.outer) others.push_back({&piece.loops[i], nullptr, false});
    }
    const bool reversed = face.turn < 0;
    if (!piece.holds_passive) {
        return interior_point({&piece.loops[piece.outer], nullptr, false}, others, attempt, piece.convex);
    }
    for (const LoopPtr& loop : passive) {
        if (piece.outer >= 0 || loop != passive.front()) others.push_back({&loop->points2, &loop->box2, reversed});
    }
    if (piece.outer >= 0) return interior_point({&piece.loops[piece.outer], nullptr, false}, others, attempt);
    const LoopView outer{&passive.front()->points2, &passive.front()->box2, reversed};
    if (!piece.loops.empty()) {
        // The piece surrounds what the cuts made: below the lowest point of that lies the piece,
        // found among the few loops beneath it, where the corner of the face's own outer loop
        // could see across every hole of the face.
        const Point2* w = &piece.loops[0][0];
        for (const std::vector<Point2>& loop : piece.loops) {
            for (const Point2& q : loop) {
                if (q[1] < (*w)[1] || (q[1] == (*w)[1] && q[0] < (*w)[0])) w = &q;
            }
        }
        others.push_back(outer);
        if (std::optional<Point2> below = point_below(*w, others, attempt)) return *below;
        others.pop_back();
    }
    return interior_point(outer, others, attempt);
}

bool piece_inside(const BodyFace& face, const Piece& piece, const std::vector<LoopPtr>& passive, const Body& other) {
    // The other surface meets the piece's inside in finitely many points (a vertex of it resting
    // on the face, say), and the points tried lie apart on a segment inside the piece: one of the
    // first few misses them all.
    constexpr int kAttempts = 64;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        poll_interrupt();
        const Vec3 x = face.frame->lift(piece_point(face, piece, passive, attempt));
        if (!on_body_surface(other, x)) return inside_body(other, x);
    }
    throw InternalFailure("boolean: every inner point of a piece lies on the other solid");
}

std::vector<int> piece_groups(const std::vector<const Piece*>& pieces, const std::vector<char>& alone) {
    std::vector<int> parent(pieces.size());
    std::iota(parent.begin(), parent.end(), 0);
    struct Stretch {
        Rational lo, hi;
        int piece;
    };
    std::unordered_map<Line3, std::vector<Stretch>, Line3Hash> lines;
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        if (alone[p]) continue;
        for (const BoundarySide& side : pieces[p]->sides) {
            poll_interrupt();
            if (side.cut || side.from == side.to) continue;
            const Line3 line = line_through(side.from, side.to);
            const auto [lo, hi] = std::minmax(side.from[line.axis], side.to[line.axis]);
            lines[line].push_back({lo, hi, static_cast<int>(p)});
        }
    }
    for (auto& [line, stretches] : lines) {
        std::sort(stretches.begin(), stretches.end(), [](const Stretch& x, const Stretch& y) { return x.lo < y.lo; });
        for (std::size_t i = 0; i < stretches.size(); ++i) {
            for (std::size_t j = i + 1; j < stretches.size() && stretches[j].lo < stretches[i].hi; ++j) {
                poll_interrupt();
                parent[find(parent, stretches[i].piece)] = find(parent, stretches[j].piece);
            }
        }
    }
    std::vector<int> group(pieces.size());
    for (std::size_t p = 0; p < pieces.size(); ++p) group[p] = find(parent, static_cast<int>(p));
    return group;
}

std::vector<int> vertex_groups(const Body& body, const std::vector<int>& faces) {
    std::vector<int> parent(faces.size());
    std::iota(parent.begin(), parent.end(), 0);
    std::unordered_map<Vec3, int, Vec3Hash> first_face;
    for (std::size_t i = 0; i < faces.size(); ++i) {
        for (const LoopPtr& loop : body.faces[faces[i]]->loops) {
            for (const Vec3& v : loop->points) {
                poll_interrupt();
                auto [it, added] = first_face.try_emplace(v, static_cast<int>(i));
                if (!added) parent[find(parent, static_cast<int>(i))] = find(parent, it->second);
            }
        }
    }
    std::vector<int> group(faces.size());
    for (std::size_t i = 0; i < faces.size(); ++i) group[i] = find(parent, static_cast<int>(i));
    return group;
}

}  // namespace brevant
