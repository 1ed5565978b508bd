#include "corefine/corefine.hpp"

#include <algorithm>
#include <map>
#include <numeric>
#include <unordered_map>

#include "corefine/face_pieces.hpp"
#include "corefine/point_location.hpp"
#include "corefine/section.hpp"
#include "exact/interrupt.hpp"
#include "merge/line3.hpp"
#include "merge/merged.hpp"
#include "solid/measures.hpp"

namespace brevant {
namespace {

enum class Where { Outside, Inside, Same, Opposite };

// What one operand's faces meet of the other: cuts per face, and the other's faces in its plane.
struct Contacts {
    std::vector<std::vector<Segment2>> cuts;
    std::vector<std::vector<int>> coplanar;
};

void add_section(const Face& cut, const std::vector<std::pair<Vec3, Vec3>>& section, std::vector<Segment2>& cuts) {
    for (const auto& [from, to] : section) cuts.push_back({cut.frame.project(from), cut.frame.project(to), kConstraint});
}

void add_sides(const Face& of, std::vector<Segment2>& cuts) {
    const std::size_t n = of.loop2.size();
    for (std::size_t i = 0; i < n; ++i) cuts.push_back({of.loop2[i], of.loop2[(i + 1) % n], kConstraint});
}

bool parallel(const Vec3& m, const Vec3& n) {
    const Vec3 c = cross(m, n);
    return c[0].is_zero() && c[1].is_zero() && c[2].is_zero();
}

// Every pair of faces whose boxes overlap: faces in one plane cut each other along their sides;
// transversal faces f and g cut each other where they meet, on the line L of their planes. That
// is f ∩ g ∩ L; the section of f by g's plane (f ∩ L) cut into g gives it exactly, and so does the
// section of g cut into f. Cutting a face more than needed only makes more pieces, so when one face
// is large, the section of the smaller face serves both: it cuts the larger face exactly and the
// smaller one along all of its chord, and finding it costs only the smaller face's size.
std::pair<Contacts, Contacts> find_contacts(const FaceSet& a, const FaceSet& b) {
    constexpr std::size_t kSmallFace = 16;
    Contacts ca{std::vector<std::vector<Segment2>>(a.faces.size()), std::vector<std::vector<int>>(a.faces.size())};
    Contacts cb{std::vector<std::vector<Segment2>>(b.faces.size()), std::vector<std::vector<int>>(b.faces.size())};
    std::vector<PlaneF64> fast_b;
    for (const Face& g : b.faces) fast_b.push_back(plane_f64(g.plane));
    for (std::size_t i = 0; i < a.faces.size(); ++i) {
        const Face& f = a.faces[i];
        const PlaneF64 fast_f = plane_f64(f.plane);
        b.tree.overlapping(a.tree.box(static_cast<int>(i)), [&](int j) {
            poll_interrupt();
            const Face& g = b.faces[j];
            if (f.frame.key == g.frame.key) {
                add_sides(g, ca.cuts[i]);
                add_sides(f, cb.cuts[j]);
                ca.coplanar[i].push_back(j);
                cb.coplanar[j].push_back(static_cast<int>(i));
            } else if (!parallel(f.plane.normal, g.plane.normal)) {
                const bool both_small = f.loop.size() <= kSmallFace && g.loop.size() <= kSmallFace;
                if (both_small || g.loop.size() <= f.loop.size()) {
                    const auto section = closed_section(g, f.plane, fast_f);
                    add_section(f, section, ca.cuts[i]);
                    if (!both_small) add_section(g, section, cb.cuts[j]);
                }
                if (both_small || f.loop.size() < g.loop.size()) {
                    const auto section = closed_section(f, g.plane, fast_b[j]);
                    add_section(g, section, cb.cuts[j]);
                    if (!both_small) add_section(f, section, ca.cuts[i]);
                }
            }
        });
    }
    return {std::move(ca), std::move(cb)};
}

int find(std::vector<int>& parent, int c) {
    while (parent[c] != c) c = parent[c] = parent[parent[c]];
    return c;
}

// Pieces that share a stretch of their solid's edges on which no cut lies are joined: the other
// solid's surface does not come between them there.
void join_across_edges(const std::vector<Piece>& pieces, const std::vector<char>& placed, std::vector<int>& parent) {
    struct Stretch {
        Rational lo, hi;
        int piece;
    };
    std::unordered_map<Line3, std::vector<Stretch>, Line3Hash> lines;
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        if (placed[p]) continue;
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
}

// Where each piece of `own` lies relative to `other`.
std::vector<Where> classify(const std::vector<Piece>& pieces, const FaceSet& own, const FaceSet& other,
                            const Contacts& contacts) {
    std::vector<Where> where(pieces.size(), Where::Outside);
    std::vector<char> placed(pieces.size(), 0);
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        const Face& face = own.faces[pieces[p].face];
        const std::vector<int>& partners = contacts.coplanar[pieces[p].face];
        if (partners.empty()) continue;
        const Point2 inside = inner_point(pieces[p]);
        int winding = 0;
        for (int g : partners) {
            // The faces share the plane's 2D coordinates; the cuts keep the point off their sides.
            winding += winding_number(other.faces[g].loop2, inside).value_or(0);
        }
        if (winding != 0) {
            where[p] = (winding > 0) == (face.turn > 0) ? Where::Same : Where::Opposite;
            placed[p] = 1;
        }
    }
    std::vector<int> parent(pieces.size());
    std::iota(parent.begin(), parent.end(), 0);
    join_across_edges(pieces, placed, parent);
    std::map<int, Where> of_group;
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        if (placed[p]) continue;
        const int group = find(parent, static_cast<int>(p));
        auto it = of_group.find(group);
        if (it == of_group.end()) {
            const Vec3 x = own.faces[pieces[p].face].frame.lift(inner_point(pieces[p]));
            const bool inside = other.box.overlaps(widened_box({to_float_vertex(x)})) && inside_solid(other, x);
            it = of_group.emplace(group, inside ? Where::Inside : Where::Outside).first;
        }
        where[p] = it->second;
    }
    return where;
}

std::vector<Piece> all_pieces(const FaceSet& faces, const Contacts& contacts) {
    std::vector<Piece> pieces;
    for (std::size_t f = 0; f < faces.faces.size(); ++f) {
        for (Piece& p : face_pieces(faces, static_cast<int>(f), contacts.cuts[f])) pieces.push_back(std::move(p));
    }
    return pieces;
}

// The recipes, piece by piece, derived from where each operand's surface lies in the other:
// - union keeps the surface of each outside the other, and one copy (a's) of a face both have
//   facing the same way; faces meeting back to back lie inside the union and go.
// - intersect keeps the surface of each inside the other and one copy of a shared face.
// - cut (a − b) keeps a's surface outside b, and b's surface inside a turned to face into the
//   removed part; where a face of a meets one of b back to back, b lies outside a there and a's
//   face stays, while a face both have facing the same way bounds nothing of a − b.
struct Recipe {
    bool keep_a[4];  // indexed by Where
    bool keep_b[4];
    bool flip_b;
};

constexpr Recipe recipe(BooleanOp op) {
    //                   Outside Inside Same   Opposite
    switch (op) {
        case BooleanOp::Union:
            return {{true, false, true, false}, {true, false, false, false}, false};
        case BooleanOp::Intersect:
            return {{false, true, true, false}, {false, true, false, false}, false};
        case BooleanOp::Cut:
            return {{true, false, false, true}, {false, true, false, false}, true};
    }
    return {};
}

// The kept pieces as polygons; a face all of whose pieces are kept goes out whole, since cutting
// it was needless there (the final merge would only join the pieces again).
void keep(const std::vector<Piece>& pieces, const std::vector<Where>& where, const FaceSet& faces, const bool (&rule)[4],
          bool flip, std::vector<Polygon>& out) {
    std::vector<char> whole(faces.faces.size(), 1);
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        if (!rule[static_cast<int>(where[p])]) whole[pieces[p].face] = 0;
    }
    auto emit = [&](const Face& face, std::vector<Vec3> loop) {
        if (flip) std::reverse(loop.begin(), loop.end());
        std::vector<FloatVertex> floats = to_float_vertices(loop);
        out.push_back({std::move(loop), std::move(floats), face.label, flip ? face.plane.flipped() : face.plane});
    };
    for (std::size_t f = 0; f < faces.faces.size(); ++f) {
        if (whole[f]) emit(faces.faces[f], faces.faces[f].loop);
    }
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        const Face& face = faces.faces[pieces[p].face];
        if (whole[pieces[p].face] || !rule[static_cast<int>(where[p])]) continue;
        for (std::vector<Vec3>& loop : loops_in_space(pieces[p], face)) emit(face, std::move(loop));
    }
}

}  // namespace

namespace {

// The kept surface as whole faces (merged_faces): enough for a later operation to take as an
// operand, without the closing of T-junctions and the ordering that only a final result needs.
Solid kept_faces(BooleanOp op, const Solid& a, const Solid& b, bool operands_whole = false) {
    const bool a_empty = volume6_sign(a) == 0, b_empty = volume6_sign(b) == 0;
    if (a_empty && (op != BooleanOp::Union || b_empty)) return Solid{};
    if (b_empty) return op == BooleanOp::Intersect ? Solid{} : a;
    if (a_empty) return b;

    const FaceSet fa = face_set(a, operands_whole);
    const FaceSet fb = face_set(b, operands_whole);
    const auto [ca, cb] = find_contacts(fa, fb);
    const std::vector<Piece> pa = all_pieces(fa, ca), pb = all_pieces(fb, cb);
    const std::vector<Where> wa = classify(pa, fa, fb, ca), wb = classify(pb, fb, fa, cb);
    const Recipe r = recipe(op);
    Solid kept;
    keep(pa, wa, fa, r.keep_a, false, kept.polygons);
    keep(pb, wb, fb, r.keep_b, r.flip_b, kept.polygons);
    return kept;
}

}  // namespace

Solid corefine(BooleanOp op, const Solid& a, const Solid& b) { return merged(kept_faces(op, a, b)); }

Solid union_all(const std::vector<const Solid*>& solids) {
    if (solids.empty()) return Solid{};
    // Pairs, then pairs of pairs: every union is between solids of like size. The levels between
    // keep whole faces only; the result is merged once at the end.
    std::vector<Solid> level;
    for (std::size_t i = 0; i < solids.size(); i += 2) {
        poll_interrupt();
        level.push_back(i + 1 < solids.size() ? merged_faces(kept_faces(BooleanOp::Union, *solids[i], *solids[i + 1]))
                                              : merged_faces(*solids[i]));
    }
    while (level.size() > 1) {
        std::vector<Solid> next;
        for (std::size_t i = 0; i < level.size(); i += 2) {
            next.push_back(i + 1 < level.size()
                               ? merged_faces(kept_faces(BooleanOp::Union, level[i], level[i + 1], true))
                               : std::move(level[i]));
        }
        level = std::move(next);
    }
    return merged(level.front());
}

}  // namespace brevant
