// Glue for the chamfer and the closedness check.
#include "binding/functions.hpp"
#include "chamfer/chamfer.hpp"
#include "solid/watertight.hpp"

namespace brevant::binding {

const MethodDef chamfer_method{"chamfer", {{"dist", Kind::Text}}, [](const Solid& self, const Args& args) -> Result {
                                   return chamfer(self, parse_r(args.text(0)));
                               }};

const MethodDef watertight_ok_method{
    "watertight_ok", {}, [](const Solid& self, const Args&) -> Result { return Truth{watertight_ok(self)}; }};

}  // namespace brevant::binding
