// Glue for union, cut and intersect.
#include "binding/functions.hpp"
#include "boolean/boolean.hpp"
#include "solid/measures.hpp"
#include "solid/transforms.hpp"

namespace brevant::binding {

const FunctionDef box_boolean_function{
    "box_boolean",
    {{"dx", Kind::Text},
     {"dy", Kind::Text},
     {"dz", Kind::Text},
     {"ex", Kind::Text},
     {"ey", Kind::Text},
     {"ez", Kind::Text},
     {"tx", Kind::Text},
     {"ty", Kind::Text},
     {"tz", Kind::Text},
     {"op", Kind::Text}},
    [](const Args& args) -> Result {
        const Vec3 d = args.numbers3(0);
        Solid a = Solid::cube(d[0], d[1], d[2], "A");
        const Vec3 e = args.numbers3(3);
        const Solid b0 = Solid::cube(e[0], e[1], e[2], "B");
        Solid b = translated(b0, args.numbers3(6));
        const Solid r = boolean_impl(args.text(9), std::move(a), std::move(b));
        return TextPair{volume6(r).str(), canonical_text(r)};
    },
};

const MethodDef boolean_method{
    "boolean",
    {{"op", Kind::Text}, {"other", Kind::Solid}},
    [](const Solid& self, const Args& args) -> Result { return boolean_impl(args.text(0), self, args.solid(1)); },
};

}  // namespace brevant::binding
