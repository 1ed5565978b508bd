// Glue for building and measuring solids.
#include "binding/functions.hpp"
#include "solid/measures.hpp"

namespace brevant::binding {
namespace {

Solid box_from_texts(const Args& args, const char* prefix_or_null) {
    const Vec3 extents = args.numbers3(0);
    return Solid::cube(extents[0], extents[1], extents[2], prefix_or_null ? prefix_or_null : args.text(3));
}

}  // namespace

const FunctionDef make_box_function{
    "make_box",
    {{"dx", Kind::Text}, {"dy", Kind::Text}, {"dz", Kind::Text}, {"prefix", Kind::Text}},
    [](const Args& args) -> Result { return box_from_texts(args, nullptr); },
};

const FunctionDef box_form_function{
    "box_form",
    {{"dx", Kind::Text}, {"dy", Kind::Text}, {"dz", Kind::Text}},
    [](const Args& args) -> Result {
        const Solid box = box_from_texts(args, "box");
        return TextPair{volume6(box).str(), canonical_text(box)};
    },
};

const MethodDef volume_method{
    "volume", {}, [](const Solid& self, const Args&) -> Result { return (volume6(self) / Rational(6)).to_double(); }};

const MethodDef volume6_str_method{
    "volume6_str", {}, [](const Solid& self, const Args&) -> Result { return volume6(self).str(); }};

const MethodDef canonical_method{
    "canonical", {}, [](const Solid& self, const Args&) -> Result { return canonical_text(self); }};

const MethodDef logical_faces_method{
    "logical_faces", {}, [](const Solid& self, const Args&) -> Result { return Count{logical_face_count(self)}; }};

const MethodDef bbox_method{"bbox", {}, [](const Solid& self, const Args&) -> Result {
                                const auto [lo, hi] = bbox(self);
                                return std::vector<double>{lo[0].to_double(), lo[1].to_double(), lo[2].to_double(),
                                                           hi[0].to_double(), hi[1].to_double(), hi[2].to_double()};
                            }};

const MethodDef bbox_exact_method{"bbox_exact", {}, [](const Solid& self, const Args&) -> Result {
                                      const auto [lo, hi] = bbox(self);
                                      return Texts{lo[0].str(), lo[1].str(), lo[2].str(),
                                                   hi[0].str(), hi[1].str(), hi[2].str()};
                                  }};

}  // namespace brevant::binding
