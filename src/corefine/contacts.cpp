#include "corefine/contacts.hpp"

#include "corefine/section.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

void add_section(const BodyFace& cut, const std::vector<std::pair<Vec3, Vec3>>& section, std::vector<Segment2>& cuts) {
    for (const auto& [from, to] : section) cuts.push_back({cut.frame->project(from), cut.frame->project(to), kConstraint});
}

// The sides of `of` that may meet face `into` (their boxes overlap its box): sides far from a face
// cannot divide it. The faces share a plane and so its 2D coordinates: whole loops far from
// `into`'s outer loop are passed over first.
void add_sides(const BodyFace& of, const BodyFace& into, std::vector<Segment2>& cuts) {
    const Box2& near = into.loops[0]->box2;
    for (const LoopPtr& loop : of.loops) {
        if (!loop->box2.overlaps(near)) continue;
        const std::size_t n = loop->points.size();
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t j = (i + 1) % n;
            if (!widened_box({loop->floats[i], loop->floats[j]}).overlaps(into.box)) continue;
            cuts.push_back({loop->points2[i], loop->points2[j], kConstraint});
        }
    }
}

bool parallel(const Vec3& m, const Vec3& n) {
    const Vec3 c = cross(m, n);
    return c[0].is_zero() && c[1].is_zero() && c[2].is_zero();
}

FaceContacts& entry(std::vector<int>& slot, std::vector<int>& touched, std::vector<FaceContacts>& of, int face) {
    if (slot[face] < 0) {
        slot[face] = static_cast<int>(of.size());
        touched.push_back(face);
        of.emplace_back();
    }
    return of[slot[face]];
}

}  // namespace

Contacts find_contacts(const Body& a, const Body& b) {
    constexpr std::size_t kSmallFace = 16;
    Contacts c;
    c.slot_a.assign(a.faces.size(), -1);
    c.slot_b.assign(b.faces.size(), -1);
    if (!a.box.overlaps(b.box)) return c;
    for (std::size_t fi = 0; fi < a.faces.size(); ++fi) {
        const BodyFace& f = *a.faces[fi];
        if (!f.box.overlaps(b.box)) continue;
        b.tree.overlapping(f.box, [&](int gi) {
            poll_interrupt();
            const BodyFace& g = *b.faces[gi];
            if (f.frame == g.frame || f.frame->key == g.frame->key) {
                FaceContacts& cf = entry(c.slot_a, c.touched_a, c.of_a, static_cast<int>(fi));
                FaceContacts& cg = entry(c.slot_b, c.touched_b, c.of_b, gi);
                add_sides(g, f, cf.cuts);
                add_sides(f, g, cg.cuts);
                cf.coplanar.push_back(gi);
                cg.coplanar.push_back(static_cast<int>(fi));
            } else if (!parallel(f.plane.normal, g.plane.normal)) {
                const bool both_small = f.vertex_count <= kSmallFace && g.vertex_count <= kSmallFace;
                std::vector<std::pair<Vec3, Vec3>> by_f, by_g;
                if (both_small || g.vertex_count <= f.vertex_count) by_f = closed_section(g, f.plane, f.fast);
                if (both_small || f.vertex_count < g.vertex_count) by_g = closed_section(f, g.plane, g.fast);
                if (by_f.empty() && by_g.empty()) return;
                FaceContacts& cf = entry(c.slot_a, c.touched_a, c.of_a, static_cast<int>(fi));
                FaceContacts& cg = entry(c.slot_b, c.touched_b, c.of_b, gi);
                add_section(f, by_f, cf.cuts);
                if (!both_small) add_section(g, by_f, cg.cuts);
                add_section(g, by_g, cg.cuts);
                if (!both_small) add_section(f, by_g, cf.cuts);
            }
        });
    }
    return c;
}

}  // namespace brevant
