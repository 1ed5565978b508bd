// Glue for merged faces and triangle meshes.
#include "binding/functions.hpp"
#include "merge/mesh.hpp"
#include "merge/merged.hpp"

namespace brevant::binding {
namespace {

IndexTriples index_triples(const Mesh& mesh) {
    IndexTriples triples;
    triples.reserve(mesh.triangles.size());
    for (const auto& [a, b, c] : mesh.triangles) triples.push_back({a, b, c});
    return triples;
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
    [](const Solid& self, const Args&) -> Result {
        const Mesh mesh = to_mesh(self);
        ExactMesh result{{}, index_triples(mesh)};
        result.points.reserve(mesh.points.size());
        for (const Vec3& p : mesh.points) result.points.push_back({p[0].str(), p[1].str(), p[2].str()});
        return result;
    },
};

const MethodDef to_mesh_floats_method{
    "to_mesh_floats",
    {},
    [](const Solid& self, const Args&) -> Result {
        const Mesh mesh = to_mesh(self);
        FloatMesh result{{}, index_triples(mesh)};
        result.points.reserve(mesh.points.size());
        for (const Vec3& p : mesh.points) result.points.push_back({p[0].to_double(), p[1].to_double(), p[2].to_double()});
        return result;
    },
};

}  // namespace brevant::binding
