#include "corefine/classification.hpp"

#include <algorithm>
#include <numeric>
#include <unordered_map>

#include "corefine/point_location.hpp"
#include "exact/interrupt.hpp"
#include "merge/line3.hpp"

namespace brevant {
namespace {

int find(std::vector<int>& parent, int c) {
    while (parent[c] != c) c = parent[c] = parent[parent[c]];
    return c;
}

}  // namespace

std::optional<Where> on_surface(const std::vector<FaceSet>& solids, const Contacts& contacts, int own, const Piece& p,
                                int other) {
    const Face& face = solids[own].faces[p.face];
    std::optional<Point2> inside;
    int winding = 0;
    for (const auto& [solid, g] : contacts[own][p.face].coplanar) {
        if (solid != other) continue;
        if (!inside) inside = inner_point(p);
        winding += winding_number(solids[other].faces[g].loop2, *inside).value_or(0);
    }
    if (winding == 0) return std::nullopt;
    return (winding > 0) == (face.turn > 0) ? Where::Same : Where::Opposite;
}

Vec3 inner_point_in_space(const std::vector<FaceSet>& solids, int own, const Piece& p) {
    return solids[own].faces[p.face].frame.lift(inner_point(p));
}

bool point_inside(const FaceSet& other, const Vec3& x) {
    return other.box.overlaps(widened_box({to_float_vertex(x)})) && inside_solid(other, x);
}

std::vector<int> piece_groups(const std::vector<Piece>& pieces, const std::vector<char>& alone) {
    std::vector<int> parent(pieces.size());
    std::iota(parent.begin(), parent.end(), 0);
    struct Stretch {
        Rational lo, hi;
        int piece;
    };
    std::unordered_map<Line3, std::vector<Stretch>, Line3Hash> lines;
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        if (alone[p]) continue;
        for (const BoundarySide& side : pieces[p].sides) {
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

}  // namespace brevant
