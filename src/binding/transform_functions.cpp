// Glue for moving, resizing, mirroring and turning solids.
#include "binding/functions.hpp"
#include "solid/transforms.hpp"

namespace brevant::binding {

const MethodDef translate_method{
    "translate",
    {{"x", Kind::Text}, {"y", Kind::Text}, {"z", Kind::Text}},
    [](const Solid& self, const Args& args) -> Result {
        return translated(self, args.numbers3(0));
    },
};

const MethodDef scale_method{
    "scale",
    {{"fx", Kind::Text}, {"fy", Kind::Text}, {"fz", Kind::Text}},
    [](const Solid& self, const Args& args) -> Result {
        const Vec3 f = args.numbers3(0);
        return scaled(self, f[0], f[1], f[2]);
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
