#include "solid/line_key.hpp"

#include "exact/direction.hpp"
#include "solid/measures.hpp"

namespace brevant {

std::string line_key(const Vec3& dir, const Vec3& moment) { return point_text(dir) + "|" + point_text(moment); }

std::optional<SideOnLine> side_on_line(const Vec3& a, const Vec3& b) {
    std::optional<Vec3> u = canon_dir(sub(b, a));
    if (!u) return std::nullopt;
    Rational ta = dot(a, *u);
    Rational tb = dot(b, *u);
    std::string key = line_key(*u, cross(a, *u));
    if (ta < tb) return SideOnLine{std::move(key), std::move(*u), std::move(ta), std::move(tb), true};
    return SideOnLine{std::move(key), std::move(*u), std::move(tb), std::move(ta), false};
}

}  // namespace brevant
