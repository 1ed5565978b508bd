// Glue for moving, resizing, mirroring and turning solids.
#include "binding/functions.hpp"
#include "solid/transforms.hpp"

namespace brevant::binding {

const MethodDef translate_method{
    "translate",
    {{"x", Kind::Text}, {"y", Kind::Text}, {"z", Kind::Text}},
    [](const Solid& self, const Args& args) -> Result {
        Rational tx = parse_r(args.text(0));
        Rational ty = parse_r(args.text(1));
        Rational tz = parse_r(args.text(2));
        return translated(self, {std::move(tx), std::move(ty), std::move(tz)});
    },
};

const MethodDef scale_method{
    "scale",
    {{"fx", Kind::Text}, {"fy", Kind::Text}, {"fz", Kind::Text}},
    [](const Solid& self, const Args& args) -> Result {
        const Rational fx = parse_r(args.text(0));
        const Rational fy = parse_r(args.text(1));
        const Rational fz = parse_r(args.text(2));
        return scaled(self, fx, fy, fz);
    },
};

const MethodDef mirror_method{
    "mirror",
    {{"axis", Kind::UInt64}},
    [](const Solid& self, const Args& args) -> Result { return mirrored(self, args.uint64(0)); },
};

const MethodDef rotate_quarter_method{
    "rotate_quarter",
    {{"axis", Kind::UInt64}, {"quarters", Kind::Int64}},
    [](const Solid& self, const Args& args) -> Result {
        return rotated_quarter(self, args.uint64(0), args.int64(1));
    },
};

}  // namespace brevant::binding
