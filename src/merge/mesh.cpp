#include "merge/mesh.hpp"

#include <algorithm>
#include <unordered_map>

#include "exact/interrupt.hpp"
#include "merge/loop_triangulation.hpp"
#include "merge/merged.hpp"

namespace brevant {
namespace {

struct Vec3Hash {
    std::size_t operator()(const Vec3& v) const { return (v[0].hash() * 31 + v[1].hash()) * 31 + v[2].hash(); }
};

// The axis along which the normal is largest: the face seen along it keeps its area.
int dominant_axis(const Vec3& n) {
    int axis = 0;
    for (int i = 1; i < 3; ++i) {
        if (n[axis].abs() < n[i].abs()) axis = i;
    }
    return axis;
}

}  // namespace

Mesh to_mesh(const Solid& solid) {
    const Solid faces = merged(solid);
    Mesh mesh;
    std::unordered_map<Vec3, std::size_t, Vec3Hash> numbers;
    for (const Polygon& face : faces.polygons) {
        poll_interrupt();
        const int axis = dominant_axis(face.plane.normal);
        const bool reversed = face.plane.normal[axis].sign() < 0;  // the loop turns clockwise in 2D
        const std::size_t n = face.vertices.size();
        std::vector<std::size_t> number;
        for (const Vec3& v : face.vertices) {
            auto [it, added] = numbers.try_emplace(v, mesh.points.size());
            if (added) mesh.points.push_back(v);
            number.push_back(it->second);
        }
        // Position i of the 2D loop is vertex at(i) of the face.
        auto at = [&](std::size_t i) { return reversed ? n - 1 - i : i; };
        std::vector<Point2> loop;
        for (std::size_t i = 0; i < n; ++i) {
            const Vec3& v = face.vertices[at(i)];
            loop.push_back({v[(axis + 1) % 3], v[(axis + 2) % 3]});
        }
        for (const auto& [a, b, c] : triangulate_loop(loop)) {
            const std::size_t x = number[at(a)], y = number[at(b)], z = number[at(c)];
            mesh.triangles.push_back(reversed ? std::array{x, z, y} : std::array{x, y, z});
        }
    }
    return mesh;
}

}  // namespace brevant
