#include "chamfer/convexity.hpp"

#include <map>
#include <set>

#include "exact/interrupt.hpp"

namespace brevant {
namespace {

// The canonical quadruple, negated when the plane faces against it, so that the pieces of one
// face share a key and opposite faces in one plane do not.
PlaneKey facing_key(const Plane& plane) {
    PlaneKey key = plane.canonical();
    for (std::size_t i = 0; i < 3; ++i) {
        if (key[i].sign() == 0) continue;
        if (key[i].sign() != plane.normal[i].sign()) {
            for (BigInt& k : key) k = -k;
        }
        break;
    }
    return key;
}

}  // namespace

bool is_convex(const Solid& solid) {
    std::set<Vec3> vertices;
    std::map<PlaneKey, const Plane*> planes;
    for (const Polygon& polygon : solid.polygons) {
        vertices.insert(polygon.vertices.begin(), polygon.vertices.end());
        planes.emplace(facing_key(polygon.plane), &polygon.plane);
    }
    for (const auto& [key, plane] : planes) {
        for (const Vec3& v : vertices) {
            poll_interrupt();  // every face plane against every vertex
            if (plane->side(v) > 0) return false;
        }
    }
    return true;
}

}  // namespace brevant
