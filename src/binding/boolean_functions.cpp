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
        Rational dx = parse_r(args.text(0));
        Rational dy = parse_r(args.text(1));
        Rational dz = parse_r(args.text(2));
        Solid a = Solid::cube(dx, dy, dz, "A");
        Rational ex = parse_r(args.text(3));
        Rational ey = parse_r(args.text(4));
        Rational ez = parse_r(args.text(5));
        const Solid b0 = Solid::cube(ex, ey, ez, "B");
        Rational tx = parse_r(args.text(6));
        Rational ty = parse_r(args.text(7));
        Rational tz = parse_r(args.text(8));
        Solid b = translated(b0, {std::move(tx), std::move(ty), std::move(tz)});
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
