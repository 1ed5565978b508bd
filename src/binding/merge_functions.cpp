// Glue for merged faces and triangle meshes.
#include "binding/functions.hpp"
#include "merge/mesh.hpp"
#include "merge/merged.hpp"

namespace brevant::binding {
namespace {

// The mesh with its points written by `point` (texts or floats).
template <typename MeshResult, typename Point>
Result mesh_result(const Solid& solid, Point point) {
    const Mesh mesh = to_mesh(solid);
    MeshResult result;
    result.points.reserve(mesh.points.size());
    for (const Vec3& p : mesh.points) result.points.push_back(point(p));
    result.triangles.reserve(mesh.triangles.size());
    for (const auto& [a, b, c] : mesh.triangles) result.triangles.push_back({a, b, c});
    return result;
}

}  // namespace

const MethodDef merged_method{
    "merged",
    {},
    [](const Solid& self, const Args&) -> Result { return merged(self); },
};

const MethodDef to_mesh_method{
    "to_mesh",
    {},
    [](const Solid& self, const Args&) {
        return mesh_result<ExactMesh>(self, [](const Vec3& p) { return Texts{p[0].str(), p[1].str(), p[2].str()}; });
    },
};

const MethodDef to_mesh_floats_method{
    "to_mesh_floats",
    {},
    [](const Solid& self, const Args&) {
        return mesh_result<FloatMesh>(self, [](const Vec3& p) {
            return std::array<double, 3>{p[0].to_double(), p[1].to_double(), p[2].to_double()};
        });
    },
};

}  // namespace brevant::binding
