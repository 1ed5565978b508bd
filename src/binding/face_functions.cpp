// Glue for reading a solid's faces back and for building a solid from faces: without them,
// geometry built in the module could only be compared, never looked at, stored or sent elsewhere.
#include <string>

#include "binding/functions.hpp"
#include "exact/failure.hpp"
#include "exact/interrupt.hpp"
#include "solid/from_polygons.hpp"

namespace brevant::binding {
namespace {

Vec3 point_from_texts(const Texts& texts, std::size_t point, std::size_t polygon) {
    if (texts.size() != 3) {
        throw Refusal("solid_from_polygons: point " + std::to_string(point) + " of polygon " + std::to_string(polygon) +
                      " has " + std::to_string(texts.size()) + " coordinates; a point needs 3");
    }
    Rational x = parse_r(texts[0]);
    Rational y = parse_r(texts[1]);
    Rational z = parse_r(texts[2]);
    return {std::move(x), std::move(y), std::move(z)};
}

// The faces with their points read, in order: polygon by polygon, point by point.
std::vector<FaceLoop> face_loops(const LabelledLoops& faces) {
    std::vector<FaceLoop> loops;
    loops.reserve(faces.size());
    for (std::size_t i = 0; i < faces.size(); ++i) {
        poll_interrupt();
        FaceLoop face{faces[i].label, {}};
        face.loop.reserve(faces[i].vertices.size());
        for (std::size_t j = 0; j < faces[i].vertices.size(); ++j) {
            face.loop.push_back(point_from_texts(faces[i].vertices[j], j, i));
        }
        loops.push_back(std::move(face));
    }
    return loops;
}

}  // namespace

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

const FunctionDef solid_from_polygons_function{
    "solid_from_polygons",
    {{"polygons", Kind::LabelledLoops}},
    [](const Args& args) -> Result { return solid_from_polygons(face_loops(args.labelled_loops(0))); },
};

}  // namespace brevant::binding
