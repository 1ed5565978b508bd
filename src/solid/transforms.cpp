#include "solid/transforms.hpp"

#include "exact/failure.hpp"
#include "exact/integer_form.hpp"
#include "exact/rational_rotation.hpp"

namespace brevant {
namespace {

Vec3 same(const Vec3& n) { return n; }

// The primitive integer vector along `v`, the same way round.
IntegerDirection integer_direction(const Vec3& v) {
    IntegerDirection d = primitive_integer_form<3>({&v[0], &v[1], &v[2]});
    const Rational& first = !v[0].is_zero() ? v[0] : !v[1].is_zero() ? v[1] : v[2];
    if (first.sign() < 0) {
        for (BigInt& c : d) c = -c;
    }
    return d;
}

}  // namespace

Solid translated(const Solid& solid, const Vec3& by) {
    return solid.mapped([&](const Vec3& v) { return add(v, by); }, same);
}

// The cofactor matrix of diag(fx, fy, fz) is diag(fy·fz, fx·fz, fx·fy).
Solid scaled(const Solid& solid, const Rational& fx, const Rational& fy, const Rational& fz) {
    const Vec3 normal_factors{fy * fz, fx * fz, fx * fy};
    Solid result = solid.mapped([&](const Vec3& v) { return Vec3{v[0] * fx, v[1] * fy, v[2] * fz}; },
                                [&](const Vec3& n) {
                                    return Vec3{n[0] * normal_factors[0], n[1] * normal_factors[1],
                                                n[2] * normal_factors[2]};
                                });
    return ((fx * fy) * fz).sign() < 0 ? result.flipped() : result;
}

// The cofactor matrix of a mirror is minus the mirror: every other component of a normal changes
// sign, and the flip afterwards restores them.
Solid mirrored(const Solid& solid, std::uint64_t axis) {
    return solid
        .mapped(
            [&](const Vec3& v) {
                if (axis > 2) throw InternalFailure("index out of range: mirror axis must be 0, 1 or 2");
                Vec3 m = v;
                m[axis] = -m[axis];
                return m;
            },
            [&](const Vec3& n) {
                Vec3 m = neg(n);
                m[axis] = n[axis];
                return m;
            })
        .flipped();
}

// A rotation is its own cofactor matrix.
Solid rotated_quarter(const Solid& solid, std::uint64_t axis, std::int64_t quarters) {
    const unsigned turns = static_cast<std::uint64_t>(quarters) & 3U;
    const std::size_t a = (axis % 3 + 2) % 3;
    const std::size_t b = (axis % 3 + 1) % 3;
    const auto turn = [&](const Vec3& v) {
        Vec3 p = v;
        for (unsigned i = 0; i < turns; ++i) {
            Rational old_a = p[a];
            p[a] = p[b];
            p[b] = -old_a;
        }
        return p;
    };
    return solid.mapped(turn, turn);
}

Solid transformed(const Solid& solid, const Affine& map) {
    const Rational det = determinant(map.linear);
    if (det.is_zero()) throw Refusal("transform: the matrix is singular (its determinant is 0)");
    const Matrix3 normal_map = cofactor(map.linear);
    Solid result = solid.mapped([&](const Vec3& v) { return map.apply(v); },
                                [&](const Vec3& n) { return times(normal_map, n); });
    return det.sign() < 0 ? result.flipped() : result;
}

Solid rotated(const Solid& solid, const Vec3& point, const Vec3& direction, const Rational& degrees,
              const Rational& tolerance) {
    if (direction[0].is_zero() && direction[1].is_zero() && direction[2].is_zero()) {
        throw Refusal("rotate: the axis direction is zero");
    }
    if (tolerance.sign() <= 0) throw Refusal("rotate: the tolerance must be positive");
    const IntegerDirection d = integer_direction(direction);
    const Matrix3 turn = turn_matrix(d, turn_near(d, degrees, tolerance));
    return transformed(solid, {turn, sub(point, times(turn, point))});
}

}  // namespace brevant
