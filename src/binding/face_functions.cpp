// Glue for reading a solid's faces back: without it, geometry built in the module could only be
// compared, never looked at.
#include "binding/functions.hpp"
#include "exact/interrupt.hpp"

namespace brevant::binding {

const MethodDef polygons_method{
    "polygons",
    {},
    [](const Solid& self, const Args&) -> Result {
        LabelledLoops faces;
        faces.reserve(self.polygons.size());
        for (const Polygon& p : self.polygons) {
            poll_interrupt();
            Texts2 vertices;
            vertices.reserve(p.vertices.size());
            for (const Vec3& v : p.vertices) vertices.push_back({v[0].str(), v[1].str(), v[2].str()});
            faces.push_back({p.label, std::move(vertices)});
        }
        return faces;
    },
};

}  // namespace brevant::binding
