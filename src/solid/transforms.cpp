#include "solid/transforms.hpp"

#include "exact/failure.hpp"

namespace brevant {

Solid translated(const Solid& solid, const Vec3& by) {
    return solid.mapped([&](const Vec3& v) { return add(v, by); });
}

Solid scaled(const Solid& solid, const Rational& fx, const Rational& fy, const Rational& fz) {
    Solid result = solid.mapped([&](const Vec3& v) { return Vec3{v[0] * fx, v[1] * fy, v[2] * fz}; });
    return ((fx * fy) * fz).sign() < 0 ? result.flipped() : result;
}

Solid mirrored(const Solid& solid, std::uint64_t axis) {
    return solid
        .mapped([&](const Vec3& v) {
            if (axis > 2) throw InternalFailure("index out of range: mirror axis must be 0, 1 or 2");
            Vec3 m = v;
            m[axis] = -m[axis];
            return m;
        })
        .flipped();
}

Solid rotated_quarter(const Solid& solid, std::uint64_t axis, std::int64_t quarters) {
    const unsigned turns = static_cast<std::uint64_t>(quarters) & 3U;
    const std::size_t a = (axis % 3 + 2) % 3;
    const std::size_t b = (axis % 3 + 1) % 3;
    return solid.mapped([&](const Vec3& v) {
        Vec3 p = v;
        for (unsigned i = 0; i < turns; ++i) {
            Rational old_a = p[a];
            p[a] = p[b];
            p[b] = -old_a;
        }
        return p;
    });
}

}  // namespace brevant
