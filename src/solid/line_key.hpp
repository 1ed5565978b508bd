// The infinite line a polygon side lies on, named exactly by text.
//
// Notation: a side from a to b lies on the line with canonical direction u = canon_dir(b − a) and
// moment m = a × u, the same for every point of the line and for both directions of travel. The
// line key is "u.x,u.y,u.z|m.x,m.y,m.z", every component in the text form n/d. Along the line a
// point p has the parameter t = p·u.
#pragma once

#include <optional>
#include <string>

#include "exact/vec3.hpp"

namespace brevant {

struct SideOnLine {
    std::string key;
    Vec3 dir;       // u
    Vec3 moment;    // m
    Rational lo;    // the smaller of a·u and b·u
    Rational hi;    // the larger
    bool forward;   // the side runs along u (from lo to hi)
};

std::string line_key(const Vec3& dir, const Vec3& moment);
// Nothing when a and b coincide.
std::optional<SideOnLine> side_on_line(const Vec3& a, const Vec3& b);
// The same with the key left empty, for callers that name only the distinct lines (by dir and
// moment, which the key spells out).
std::optional<SideOnLine> side_on_unnamed_line(const Vec3& a, const Vec3& b);

}  // namespace brevant
