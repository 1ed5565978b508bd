#include "solid/measures.hpp"

#include <algorithm>
#include <cmath>
#include <set>

#include "exact/failure.hpp"
#include "exact/interrupt.hpp"

namespace brevant {

// The fan terms P0·(Pi × Pi+1) of one polygon share P0, so their sum is P0·Σ(Pi × Pi+1): one dot
// product per polygon instead of one per term, and exactly the same number.
Rational volume6(const Solid& solid) {
    Rational sum;
    for (const Polygon& p : solid.polygons) {
        poll_interrupt();
        const std::vector<Vec3>& v = p.vertices;
        if (v.size() < 3) continue;
        Vec3 fan = cross(v[1], v[2]);
        for (std::size_t i = 2; i + 1 < v.size(); ++i) fan = add(fan, cross(v[i], v[i + 1]));
        sum += dot(v[0], fan);
    }
    return sum;
}

namespace {

// volume6 in doubles from the shadows, with the sum M of the absolute values of the six products
// in every term and the number K of terms.
struct FloatVolume {
    double sum = 0.0;
    double magnitude = 0.0;
    double terms = 0.0;
};

FloatVolume float_volume6(const Solid& solid) {
    FloatVolume v;
    for (const Polygon& p : solid.polygons) {
        const std::vector<FloatVertex>& f = p.float_vertices;
        for (std::size_t i = 1; i + 1 < f.size(); ++i) {
            const FloatVertex& a = f[0];
            const FloatVertex& b = f[i];
            const FloatVertex& c = f[i + 1];
            const double yz = b[1] * c[2], zy = b[2] * c[1];
            const double zx = b[2] * c[0], xz = b[0] * c[2];
            const double xy = b[0] * c[1], yx = b[1] * c[0];
            v.sum = v.sum + ((a[0] * (yz - zy) + a[1] * (zx - xz)) + a[2] * (xy - yx));
            v.magnitude = v.magnitude + ((std::fabs(a[0]) * (std::fabs(yz) + std::fabs(zy)) +
                                          std::fabs(a[1]) * (std::fabs(zx) + std::fabs(xz))) +
                                         std::fabs(a[2]) * (std::fabs(xy) + std::fabs(yx)));
            v.terms = v.terms + 1.0;
        }
    }
    return v;
}

// Why |s| > bound proves that the exact volume6 E has the sign of the double sum s. Let u = 2^-53,
// K the number of terms, P the sum over all terms of the six absolute products of the shadows,
// and M its computed value. Every shadow coordinate is the nearest double to the exact one; when
// M is finite every shadow that takes part is finite (an infinite one makes M infinite or NaN).
// - Shadows: a coordinate in the normal range is within u relative of the exact one, so each
//   product of three moves by at most γ3 = 3u/(1 − 3u) relative to the exact product.
// - One term: the products, the subtraction, the multiplication and the two additions round each
//   product at most five times, γ5 relative. With the shadows, a term is within γ9·(its P).
// - The sum: K additions from zero move s by at most γ_K times the sum of |terms| <= (1 + γ5)·P.
// - M itself is rounded at most K + 5 times per product: P <= (1 + γ_(K+5))·M.
// - Underflow: a shadow below the normal range is within 2^-1075 of the exact value, and a product
//   that underflows within 2^-1075 of the rounded one; multiplied by the finite other factors
//   (below 2^1024 each pair, or M would overflow) this is at most a few times 2^-50 per product,
//   under 2^-44 per term.
// So |s − E| <= (γ9 + γ_K(1 + γ5))(1 + γ_(K+5))·M + K·2^-44 < (K + 16)·u·M + K·2^-44 while
// K·u < 2^-10, which the count of terms of any solid in memory satisfies by far. The bound below
// takes 2u for u, which also covers its own roundings.
bool proves_sign(const FloatVolume& v) {
    if (!std::isfinite(v.sum) || !std::isfinite(v.magnitude)) return false;
    const double bound = (v.terms + 16.0) * 0x1p-52 * v.magnitude + v.terms * 0x1p-44;
    return std::fabs(v.sum) > bound;
}

}  // namespace

int volume6_sign(const Solid& solid) {
    const FloatVolume v = float_volume6(solid);
    if (proves_sign(v)) return v.sum > 0.0 ? 1 : -1;
    return volume6(solid).sign();
}

namespace {

void append_point_text(std::string& out, const Vec3& p) {
    out += p[0].str();
    out += ',';
    out += p[1].str();
    out += ',';
    out += p[2].str();
}

}  // namespace

std::string point_text(const Vec3& p) {
    std::string text;
    append_point_text(text, p);
    return text;
}

std::string plane_key_text(const PlaneKey& key) {
    return key[0].str() + "," + key[1].str() + "," + key[2].str() + "," + key[3].str();
}

std::string canonical_text(const Solid& solid) {
    std::set<std::string> keys;
    std::vector<std::string> texts;
    for (const Polygon& p : solid.polygons) {
        poll_interrupt();
        texts.resize(p.vertices.size());
        std::size_t length = 0;
        for (std::size_t i = 0; i < p.vertices.size(); ++i) {
            texts[i].clear();
            append_point_text(texts[i], p.vertices[i]);
            length += texts[i].size() + 1;
        }
        std::sort(texts.begin(), texts.end());
        std::string key;
        key.reserve(length);
        for (const std::string& t : texts) {
            if (!key.empty()) key += '|';
            key += t;
        }
        keys.insert(std::move(key));
    }
    std::size_t length = 0;
    for (const std::string& k : keys) length += k.size() + 1;
    std::string result;
    result.reserve(length);
    for (const std::string& k : keys) {
        if (!result.empty()) result += ';';
        result += k;
    }
    return result;
}

std::size_t logical_face_count(const Solid& solid) {
    std::set<std::string> planes;
    for (const Polygon& p : solid.polygons) {
        poll_interrupt();
        planes.insert(plane_key_text(p.plane.canonical()));
    }
    return planes.size();
}

std::pair<Vec3, Vec3> bbox(const Solid& solid) {
    if (solid.polygons.empty() || solid.polygons.front().vertices.empty()) {
        throw InternalFailure("index out of range: bbox of a solid without polygons");
    }
    Vec3 lo = solid.polygons.front().vertices.front();
    Vec3 hi = lo;
    for (const Polygon& p : solid.polygons) {
        for (const Vec3& v : p.vertices) {
            poll_interrupt();
            for (std::size_t c = 0; c < 3; ++c) {
                if (v[c] < lo[c]) {
                    lo[c] = v[c];
                } else if (v[c] > hi[c]) {
                    hi[c] = v[c];
                }
            }
        }
    }
    return {std::move(lo), std::move(hi)};
}

}  // namespace brevant
