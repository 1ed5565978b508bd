#include "corefine/corefine.hpp"

#include <algorithm>
#include <unordered_map>

#include "corefine/classification.hpp"
#include "corefine/contacts.hpp"
#include "corefine/kept_regions.hpp"
#include "corefine/mixed_planes.hpp"
#include "exact/interrupt.hpp"
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

// One operand's side of an operation: its faces, what the other body does to them, and where the
// kept ones go.
struct Side {
    const Body& own;
    const Body& other;
    const std::vector<int>& slot;              // per face of `own`: its contacts, or −1
    const std::vector<FaceContacts>& entries;
    const bool (&rule)[4];
    bool flip;
};

// What the operation keeps of each face of an operand: the face itself, or faces cut from it.
using KeptOf = std::vector<std::vector<FacePtr>>;

void emit(FacePtr face, bool flip, std::vector<FacePtr>& out) {
    out.push_back(flip ? flipped_face(*face) : std::move(face));
}

// Faces the other body's faces do not reach: outside its box they lie outside it; the others lie
// wholly on one side of its surface, the same side for faces sharing a point.
void keep_untouched(const Side& s, KeptOf& out) {
    std::vector<int> near;
    for (std::size_t f = 0; f < s.own.faces.size(); ++f) {
        if (s.slot[f] >= 0) continue;
        if (s.own.faces[f]->box.overlaps(s.other.box)) {
            near.push_back(static_cast<int>(f));
        } else if (s.rule[static_cast<int>(Where::Outside)]) {
            emit(s.own.faces[f], s.flip, out[f]);
        }
    }
    if (near.empty()) return;
    const std::vector<int> group = vertex_groups(s.own, near);
    std::unordered_map<int, bool> inside;
    for (std::size_t i = 0; i < near.size(); ++i) {
        poll_interrupt();
        const BodyFace& face = *s.own.faces[near[i]];
        auto it = inside.find(group[i]);
        if (it == inside.end()) {
            const FacePieces whole = whole_face(face);
            it = inside.emplace(group[i], piece_inside(face, whole.pieces[0], whole.passive, s.other)).first;
        }
        if (s.rule[static_cast<int>(it->second ? Where::Inside : Where::Outside)]) {
            emit(s.own.faces[near[i]], s.flip, out[near[i]]);
        }
    }
}

// Faces the other body's faces reach: cut, each piece placed, and the kept pieces joined again.
void keep_touched(const Side& s, const std::vector<int>& touched, KeptOf& out) {
    std::vector<FacePieces> cut(touched.size());
    std::vector<const Piece*> pieces;
    std::vector<int> face_of;  // per piece: its place in `touched`
    std::vector<Where> where;
    std::vector<char> alone;
    for (std::size_t k = 0; k < touched.size(); ++k) {
        poll_interrupt();
        const BodyFace& face = *s.own.faces[touched[k]];
        const FaceContacts& contacts = s.entries[s.slot[touched[k]]];
        cut[k] = face_pieces(face, contacts.cuts);
        for (const Piece& piece : cut[k].pieces) {
            std::optional<Where> w;
            if (!contacts.coplanar.empty()) {
                w = on_surface(face, piece_point(face, piece, cut[k].passive), s.other, contacts.coplanar);
            }
            pieces.push_back(&piece);
            face_of.push_back(static_cast<int>(k));
            where.push_back(w.value_or(Where::Outside));
            alone.push_back(w.has_value());
        }
    }
    const std::vector<int> group = piece_groups(pieces, alone);
    std::unordered_map<int, Where> of_group;
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        if (alone[p]) continue;
        auto it = of_group.find(group[p]);
        if (it == of_group.end()) {
            const BodyFace& face = *s.own.faces[touched[face_of[p]]];
            const bool in = piece_inside(face, *pieces[p], cut[face_of[p]].passive, s.other);
            it = of_group.emplace(group[p], in ? Where::Inside : Where::Outside).first;
        }
        where[p] = it->second;
    }
    std::size_t first = 0;
    for (std::size_t k = 0; k < touched.size(); ++k) {
        const std::size_t count = cut[k].pieces.size();
        std::vector<char> kept(count);
        for (std::size_t i = 0; i < count; ++i) kept[i] = s.rule[static_cast<int>(where[first + i])];
        first += count;
        const long n_kept = std::count(kept.begin(), kept.end(), 1);
        if (n_kept == 0) continue;
        if (n_kept == static_cast<long>(count)) {
            emit(s.own.faces[touched[k]], s.flip, out[touched[k]]);
            continue;
        }
        for (FacePtr& face : kept_faces(*s.own.faces[touched[k]], cut[k], kept)) {
            emit(std::move(face), s.flip, out[touched[k]]);
        }
    }
}

// The kept faces in the order of the operand's tree, each beside the face it was cut from; how many
// of them were not in that order before (the operand's own count of such, and every new one).
std::size_t gather(const Body& own, KeptOf& kept, std::vector<FacePtr>& faces, bool all_new) {
    std::size_t fresh = all_new ? 0 : own.unsorted;
    for (int f : own.tree.order()) {
        for (FacePtr& face : kept[f]) {
            fresh += all_new || face != own.faces[f];
            faces.push_back(std::move(face));
        }
    }
    return fresh;
}

Body combine(BooleanOp op, const Body& a, const Body& b, bool merge_labels) {
    const Recipe r = recipe(op);
    const Contacts contacts = find_contacts(a, b);
    KeptOf kept_a(a.faces.size()), kept_b(b.faces.size());
    const Side side_a{a, b, contacts.slot_a, contacts.of_a, r.keep_a, false};
    const Side side_b{b, a, contacts.slot_b, contacts.of_b, r.keep_b, r.flip_b};
    keep_untouched(side_a, kept_a);
    keep_touched(side_a, contacts.touched_a, kept_a);
    keep_untouched(side_b, kept_b);
    keep_touched(side_b, contacts.touched_b, kept_b);
    // The larger operand's faces lead, in its tree's order; the other's follow as new ones.
    const bool a_leads = a.faces.size() >= b.faces.size();
    std::vector<FacePtr> faces;
    std::size_t unsorted = gather(a_leads ? a : b, a_leads ? kept_a : kept_b, faces, false);
    unsorted += gather(a_leads ? b : a, a_leads ? kept_b : kept_a, faces, true);
    if (merge_labels) {
        std::vector<const BodyFace*> changed;
        for (int f : contacts.touched_a) changed.push_back(a.faces[f].get());
        for (int f : contacts.touched_b) changed.push_back(b.faces[f].get());
        if (merge_mixed_planes(faces, changed, false)) unsorted = faces.size();  // merged planes come last: sort again
    }
    return make_body_in_order(std::move(faces), unsorted);
}

}  // namespace

Body corefine(BooleanOp op, const Body& a, const Body& b) {
    if (a.empty() && (op != BooleanOp::Union || b.empty())) return make_body({});
    if (b.empty()) return op == BooleanOp::Intersect ? make_body({}) : a;
    if (a.empty()) return b;
    return combine(op, a, b, true);
}

Body union_all(const std::vector<const Body*>& bodies) {
    // Pairs of neighbours in the list joined, then pairs of those, and so on: each face takes part
    // in about log n unions, and where several solids share a face facing the same way, the union
    // of two keeps the copy of the earlier one, so the result keeps that of the earliest solid.
    // Labels stay the faces' own until the end, as if every solid were cut by all the others at
    // once.
    std::vector<Body> level;
    for (const Body* b : bodies) {
        poll_interrupt();
        if (!b->empty()) level.push_back(*b);
    }
    if (level.empty()) return make_body({});
    while (level.size() > 1) {
        std::vector<Body> next;
        for (std::size_t i = 0; i + 1 < level.size(); i += 2) next.push_back(combine(BooleanOp::Union, level[i], level[i + 1], false));
        if (level.size() % 2 == 1) next.push_back(std::move(level.back()));
        level = std::move(next);
    }
    std::vector<FacePtr> faces = std::move(level.front().faces);
    merge_mixed_planes(faces, {}, true);
    return make_body(std::move(faces));
}

Solid corefine(BooleanOp op, const Solid& a, const Solid& b) {
    return materialise(corefine(op, body_of(a), body_of(b)));
}

Solid union_all(const std::vector<const Solid*>& solids) {
    std::vector<Body> bodies;
    bodies.reserve(solids.size());
    for (const Solid* s : solids) bodies.push_back(body_of(*s));
    std::vector<const Body*> pointers;
    for (const Body& b : bodies) pointers.push_back(&b);
    return materialise(union_all(pointers));
}

}  // namespace brevant
