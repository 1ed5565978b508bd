// Glue for NURBS evaluation: the texts go through unread; the evaluation reads them in its own order.
#include "binding/functions.hpp"
#include "nurbs/nurbs_eval.hpp"

namespace brevant::binding {

const FunctionDef nurbs_curve_eval_function{
    "nurbs_curve_eval",
    {{"degree", Kind::UInt64},
     {"cps", Kind::Texts2},
     {"knots", Kind::Texts},
     {"t", Kind::Text},
     {"weights", Kind::Texts, true}},
    [](const Args& args) -> Result {
        return nurbs_curve_eval(args.uint64(0), args.texts2(1), args.texts(2), args.text(3),
                                args.optional<Texts>(4));
    },
};

const FunctionDef nurbs_surface_eval_function{
    "nurbs_surface_eval",
    {{"pu", Kind::UInt64},
     {"pv", Kind::UInt64},
     {"net", Kind::Texts3},
     {"ku", Kind::Texts},
     {"kv", Kind::Texts},
     {"u", Kind::Text},
     {"v", Kind::Text},
     {"weights", Kind::Texts2, true}},
    [](const Args& args) -> Result {
        return nurbs_surface_eval(args.uint64(0), args.uint64(1), args.texts3(2), args.texts(3), args.texts(4),
                                  args.text(5), args.text(6), args.optional<Texts2>(7));
    },
};

}  // namespace brevant::binding
