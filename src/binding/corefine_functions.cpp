// Glue for the booleans that return merged faces.
#include "binding/functions.hpp"
#include "corefine/corefine.hpp"

namespace brevant::binding {
namespace {

// The results stay bodies: their polygons are made only when read.
template <BooleanOp op>
Result combine(const SolidValue& self, const Args& args) {
    return corefine(op, self.body(), args.solid_value(0).body());
}

}  // namespace

const MethodDef union_method{"union", {{"other", Kind::Solid}}, nullptr, combine<BooleanOp::Union>};
const MethodDef cut_method{"cut", {{"other", Kind::Solid}}, nullptr, combine<BooleanOp::Cut>};
const MethodDef intersect_method{"intersect", {{"other", Kind::Solid}}, nullptr, combine<BooleanOp::Intersect>};

const FunctionDef union_all_function{
    "union_all",
    {{"solids", Kind::Solids}},
    [](const Args& args) -> Result {
        std::vector<const Body*> bodies;
        for (const SolidRef& s : args.solid_values(0)) bodies.push_back(&s->body());
        return union_all(bodies);
    },
};

}  // namespace brevant::binding
