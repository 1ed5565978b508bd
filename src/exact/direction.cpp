#include "exact/direction.hpp"

#include "exact/integer_form.hpp"

namespace brevant {

std::optional<Vec3> canon_dir(const Vec3& v) {
    // Inline components give inline results, made without big integers.
    if (const std::optional<std::array<long, 3>> small = detail::small_primitive_form<3>({&v[0], &v[1], &v[2]})) {
        const std::array<long, 3>& k = *small;
        if (k[0] == 0 && k[1] == 0 && k[2] == 0) return std::nullopt;
        return Vec3{Rational(k[0]), Rational(k[1]), Rational(k[2])};
    }
    const std::array<BigInt, 3> ints = detail::big_primitive_form<3>({&v[0], &v[1], &v[2]});
    if (ints[0].sign() == 0 && ints[1].sign() == 0 && ints[2].sign() == 0) return std::nullopt;
    return Vec3{Rational(ints[0]), Rational(ints[1]), Rational(ints[2])};
}

std::optional<Vec3> unit_dir(const Vec3& v) {
    const Rational s = dot(v, v);
    const BigInt n = s.numerator();
    const BigInt d = s.denominator();
    const BigInt a = isqrt(n);
    const BigInt b = isqrt(d);
    if (!(a * a == n) || !(b * b == d)) return std::nullopt;
    const Rational length(a, b);
    return Vec3{v[0] / length, v[1] / length, v[2] / length};
}

}  // namespace brevant
