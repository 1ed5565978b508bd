// Glue for the booleans that return merged faces.
#include "binding/functions.hpp"
#include "corefine/corefine.hpp"

namespace brevant::binding {
namespace {

template <BooleanOp op>
Result combine(const Solid& self, const Args& args) {
    return corefine(op, self, args.solid(0));
}

}  // namespace

const MethodDef union_method{"union", {{"other", Kind::Solid}}, combine<BooleanOp::Union>};
const MethodDef cut_method{"cut", {{"other", Kind::Solid}}, combine<BooleanOp::Cut>};
const MethodDef intersect_method{"intersect", {{"other", Kind::Solid}}, combine<BooleanOp::Intersect>};

const FunctionDef union_all_function{
    "union_all",
    {{"solids", Kind::Solids}},
    [](const Args& args) -> Result {
        std::vector<const Solid*> solids;
        for (const Solid& s : args.solids(0)) solids.push_back(&s);
        return union_all(solids);
    },
};

}  // namespace brevant::binding
