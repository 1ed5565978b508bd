#include "corefine/corefine.hpp"

#include <algorithm>
#include <map>
#include <optional>

#include "corefine/classification.hpp"
#include "exact/interrupt.hpp"
#include "merge/merged.hpp"
#include "solid/measures.hpp"

namespace brevant {
namespace {

// The recipes, piece by piece, derived from where each operand's surface lies in the other:
// - union keeps the surface of each outside the other, and one copy (a's) of a face both have
//   facing the same way; faces meeting back to back lie inside the union and go.
// - intersect keeps the surface of each inside the other and one copy of a shared face.
// - cut (a − b) keeps a's surface outside b, and b's surface inside a turned to face into the
//   removed part; where a face of a meets one of b back to back, b lies outside a there and a's
//   face stays, while a face both have facing the same way bounds nothing of a − b.
struct Recipe {
    bool keep_a[4];  // indexed by Where: Outside, Inside, Same, Opposite
    bool keep_b[4];
    bool flip_b;
};

constexpr Recipe recipe(BooleanOp op) {
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

std::vector<Piece> all_pieces(const FaceSet& faces, const std::vector<FaceContacts>& contacts) {
    std::vector<Piece> pieces;
    for (std::size_t f = 0; f < faces.faces.size(); ++f) {
        for (Piece& p : face_pieces(faces, static_cast<int>(f), contacts[f].cuts)) pieces.push_back(std::move(p));
    }
    return pieces;
}

// The kept pieces as polygons; a face all of whose pieces are kept goes out whole, since cutting
// it was needless there (the final merge would only join the pieces again).
void emit_kept(const std::vector<Piece>& pieces, const std::vector<char>& kept, const FaceSet& faces, bool flip,
               std::vector<Polygon>& out) {
    std::vector<char> whole(faces.faces.size(), 1);
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        if (!kept[p]) whole[pieces[p].face] = 0;
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
        if (whole[pieces[p].face] || !kept[p]) continue;
        for (std::vector<Vec3>& loop : loops_in_space(pieces[p], face)) emit(face, std::move(loop));
    }
}

// Which pieces of solid `own` one of the recipes keeps, by where they lie in solid `other`.
std::vector<char> kept_by_recipe(const std::vector<FaceSet>& solids, const Contacts& contacts, int own, int other,
                                 const std::vector<Piece>& pieces, const bool (&rule)[4]) {
    std::vector<Where> where(pieces.size(), Where::Outside);
    std::vector<char> alone(pieces.size(), 0);
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        if (std::optional<Where> w = on_surface(solids, contacts, own, pieces[p], other)) {
            where[p] = *w;
            alone[p] = 1;
        }
    }
    const std::vector<int> group = piece_groups(pieces, alone);
    std::map<int, Where> of_group;
    std::vector<char> kept(pieces.size());
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        if (!alone[p]) {
            auto it = of_group.find(group[p]);
            if (it == of_group.end()) {
                const bool inside = solids[other].box.overlaps(solids[own].tree.box(pieces[p].face)) &&
                                    point_inside(solids[other], inner_point_in_space(solids, own, pieces[p]));
                it = of_group.emplace(group[p], inside ? Where::Inside : Where::Outside).first;
            }
            where[p] = it->second;
        }
        kept[p] = rule[static_cast<int>(where[p])];
    }
    return kept;
}

// Which pieces of solid `own` the union of all solids keeps: those outside every other solid, and
// of a face several solids share facing the same way, the copy of the lowest-numbered solid.
std::vector<char> kept_by_union(const std::vector<FaceSet>& solids, const Contacts& contacts, int own,
                                const std::vector<Piece>& pieces) {
    const int count = static_cast<int>(solids.size());
    std::vector<char> kept(pieces.size(), 1), alone(pieces.size(), 0);
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        for (const auto& [other, face] : contacts[own][pieces[p].face].coplanar) {
            if (alone[p]) break;
            (void)face;
            alone[p] = on_surface(solids, contacts, own, pieces[p], other).has_value();
        }
        if (!alone[p]) continue;
        const Vec3 x = inner_point_in_space(solids, own, pieces[p]);
        for (int other = 0; other < count && kept[p]; ++other) {
            if (other == own) continue;
            const std::optional<Where> w = on_surface(solids, contacts, own, pieces[p], other);
            kept[p] = w ? (*w == Where::Same && own < other) : !point_inside(solids[other], x);
        }
    }
    const std::vector<int> group = piece_groups(pieces, alone);
    std::map<int, bool> of_group;
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        if (alone[p]) continue;
        auto it = of_group.find(group[p]);
        if (it == of_group.end()) {
            // Only solids whose box reaches the piece's face can hold it; its point is found once.
            std::optional<Vec3> x;
            bool outside = true;
            for (int other = 0; other < count && outside; ++other) {
                poll_interrupt();
                if (other == own || !solids[other].box.overlaps(solids[own].tree.box(pieces[p].face))) continue;
                if (!x) x = inner_point_in_space(solids, own, pieces[p]);
                outside = !point_inside(solids[other], *x);
            }
            it = of_group.emplace(group[p], outside).first;
        }
        kept[p] = it->second;
    }
    return kept;
}

}  // namespace

Solid corefine(BooleanOp op, const Solid& a, const Solid& b) {
    const bool a_empty = volume6_sign(a) == 0, b_empty = volume6_sign(b) == 0;
    if (a_empty && (op != BooleanOp::Union || b_empty)) return Solid{};
    if (b_empty) return op == BooleanOp::Intersect ? Solid{} : merged(a);
    if (a_empty) return merged(b);

    std::vector<FaceSet> solids;
    solids.push_back(face_set(a));
    solids.push_back(face_set(b));
    Contacts contacts{std::vector<FaceContacts>(solids[0].faces.size()), std::vector<FaceContacts>(solids[1].faces.size())};
    add_contacts(solids, 0, 1, contacts);
    const Recipe r = recipe(op);
    Solid kept;
    const std::vector<Piece> pa = all_pieces(solids[0], contacts[0]);
    emit_kept(pa, kept_by_recipe(solids, contacts, 0, 1, pa, r.keep_a), solids[0], false, kept.polygons);
    const std::vector<Piece> pb = all_pieces(solids[1], contacts[1]);
    emit_kept(pb, kept_by_recipe(solids, contacts, 1, 0, pb, r.keep_b), solids[1], r.flip_b, kept.polygons);
    return merged(kept);
}

Solid union_all(const std::vector<const Solid*>& solids) {
    // Every solid cut where the others meet it at once, then each piece kept when it lies outside
    // all the others: one pass and one merge, however many solids.
    std::vector<FaceSet> sets;
    for (const Solid* s : solids) {
        poll_interrupt();
        if (volume6_sign(*s) != 0) sets.push_back(face_set(*s));
    }
    Contacts contacts;
    for (const FaceSet& s : sets) contacts.emplace_back(s.faces.size());
    for (std::size_t i = 0; i < sets.size(); ++i) {
        for (std::size_t j = i + 1; j < sets.size(); ++j) add_contacts(sets, static_cast<int>(i), static_cast<int>(j), contacts);
    }
    Solid kept;
    for (std::size_t i = 0; i < sets.size(); ++i) {
        const std::vector<Piece> pieces = all_pieces(sets[i], contacts[i]);
        emit_kept(pieces, kept_by_union(sets, contacts, static_cast<int>(i), pieces), sets[i], false, kept.polygons);
    }
    return merged(kept);
}

}  // namespace brevant
