// Indexed triangle meshes of solids, for export.
//
// Notation: points are the distinct vertices of the merged faces, numbered in order of first
// appearance; each triangle lists three point numbers counter-clockwise seen from outside. On a
// closed solid every side of a triangle is matched by a side of another triangle running the other
// way, since merged faces meet vertex to vertex.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "solid/solid.hpp"

namespace brevant {

struct Mesh {
    std::vector<Vec3> points;
    std::vector<std::array<std::size_t, 3>> triangles;
};

// The mesh of the merged form of the solid.
Mesh to_mesh(const Solid& solid);

}  // namespace brevant
