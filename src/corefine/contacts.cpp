#include "corefine/contacts.hpp"

#include "corefine/section.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

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

}  // namespace

void add_contacts(const std::vector<FaceSet>& solids, int i, int j, Contacts& contacts) {
    constexpr std::size_t kSmallFace = 16;
    const FaceSet& a = solids[i];
    const FaceSet& b = solids[j];
    if (!a.box.overlaps(b.box)) return;
    std::vector<PlaneF64> fast_b;
    for (const Face& g : b.faces) fast_b.push_back(plane_f64(g.plane));
    for (std::size_t fi = 0; fi < a.faces.size(); ++fi) {
        const Face& f = a.faces[fi];
        FaceContacts& cf = contacts[i][fi];
        const PlaneF64 fast_f = plane_f64(f.plane);
        b.tree.overlapping(a.tree.box(static_cast<int>(fi)), [&](int gi) {
            poll_interrupt();
            const Face& g = b.faces[gi];
            FaceContacts& cg = contacts[j][gi];
            if (f.frame.key == g.frame.key) {
                add_sides(g, cf.cuts);
                add_sides(f, cg.cuts);
                cf.coplanar.push_back({j, gi});
                cg.coplanar.push_back({i, static_cast<int>(fi)});
            } else if (!parallel(f.plane.normal, g.plane.normal)) {
                const bool both_small = f.loop.size() <= kSmallFace && g.loop.size() <= kSmallFace;
                if (both_small || g.loop.size() <= f.loop.size()) {
                    const auto section = closed_section(g, f.plane, fast_f);
                    add_section(f, section, cf.cuts);
                    if (!both_small) add_section(g, section, cg.cuts);
                }
                if (both_small || f.loop.size() < g.loop.size()) {
                    const auto section = closed_section(f, g.plane, fast_b[gi]);
                    add_section(g, section, cg.cuts);
                    if (!both_small) add_section(f, section, cf.cuts);
                }
            }
        });
    }
}

}  // namespace brevant
