#include "solid/line_key.hpp"

#include "exact/direction.hpp"
#include "solid/measures.hpp"

namespace brevant {

std::string line_key(const Vec3& dir, const Vec3& moment) { return point_text(dir) + "|" + point_text(moment); }

std::optional<SideOnLine> side_on_unnamed_line(const Vec3& a, const Vec3& b) {
    std::optional<Vec3> u = canon_dir(sub(b, a));
    if (!u) return std::nullopt;
    Rational ta = dot(a, *u);
    Rational tb = dot(b, *u);
    Vec3 m = cross(a, *u);
    if (ta < tb) return SideOnLine{{}, std::move(*u), std::move(m), std::move(ta), std::move(tb), true};
    return SideOnLine{{}, std::move(*u), std::move(m), std::move(tb), std::move(ta), false};
}

std::optional<SideOnLine> side_on_line(const Vec3& a, const Vec3& b) {
    std::optional<SideOnLine> side = side_on_unnamed_line(a, b);
    if (side) side->key = line_key(side->dir, side->moment);
    return side;
}

}  // namespace brevant
