#include "merge/line3.hpp"

namespace brevant {

std::size_t Line3Hash::operator()(const Line3& l) const {
    std::size_t h = static_cast<std::size_t>(l.axis);
    for (const Vec3* v : {&l.direction, &l.crossing}) {
        for (const Rational& r : *v) h = h * 1000003u + r.hash();
    }
    return h;
}

Line3 line_through(const Vec3& a, const Vec3& b) {
    const Vec3 d = sub(b, a);
    const int axis = !d[0].is_zero() ? 0 : (!d[1].is_zero() ? 1 : 2);
    if (d[(axis + 1) % 3].is_zero() && d[(axis + 2) % 3].is_zero()) {
        // Parallel to an axis, the common case: no division needed.
        Vec3 direction{Rational(), Rational(), Rational()}, crossing = a;
        direction[axis] = Rational(1);
        crossing[axis] = Rational();
        return {axis, std::move(direction), std::move(crossing)};
    }
    // The axis component of the direction is 1 and that of the crossing 0.
    Vec3 direction, crossing;
    direction[axis] = Rational(1);
    for (int i : {(axis + 1) % 3, (axis + 2) % 3}) {
        direction[i] = d[i] / d[axis];
        crossing[i] = a[i] - a[axis] * direction[i];
    }
    return {axis, std::move(direction), std::move(crossing)};
}

}  // namespace brevant
