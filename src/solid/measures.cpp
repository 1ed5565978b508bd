#include "solid/measures.hpp"

#include <algorithm>
#include <set>

#include "exact/failure.hpp"

namespace brevant {

Rational volume6(const Solid& solid) {
    Rational sum;
    for (const Polygon& p : solid.polygons) {
        const std::vector<Vec3>& v = p.vertices;
        for (std::size_t i = 1; i + 1 < v.size(); ++i) sum += dot(v[0], cross(v[i], v[i + 1]));
    }
    return sum;
}

std::string point_text(const Vec3& p) { return p[0].str() + "," + p[1].str() + "," + p[2].str(); }

std::string plane_key_text(const PlaneKey& key) {
    return key[0].str() + "," + key[1].str() + "," + key[2].str() + "," + key[3].str();
}

std::string canonical_text(const Solid& solid) {
    std::set<std::string> keys;
    for (const Polygon& p : solid.polygons) {
        std::vector<std::string> texts;
        texts.reserve(p.vertices.size());
        for (const Vec3& v : p.vertices) texts.push_back(point_text(v));
        std::sort(texts.begin(), texts.end());
        std::string key;
        for (const std::string& t : texts) {
            if (!key.empty()) key += '|';
            key += t;
        }
        keys.insert(std::move(key));
    }
    std::string result;
    for (const std::string& k : keys) {
        if (!result.empty()) result += ';';
        result += k;
    }
    return result;
}

std::size_t logical_face_count(const Solid& solid) {
    std::set<std::string> planes;
    for (const Polygon& p : solid.polygons) planes.insert(plane_key_text(p.plane.canonical()));
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
