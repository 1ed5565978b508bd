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
        const std::optional<Texts> weights = args.is_none(4) ? std::nullopt : std::optional<Texts>(args.texts(4));
        return nurbs_curve_eval(args.uint64(0), args.texts2(1), args.texts(2), args.text(3), weights);
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
        const std::optional<Texts2> weights =
            args.is_none(7) ? std::nullopt : std::optional<Texts2>(args.texts2(7));
        return nurbs_surface_eval(args.uint64(0), args.uint64(1), args.texts3(2), args.texts(3), args.texts(4),
                                  args.text(5), args.text(6), weights);
    },
};

}  // namespace brevant::binding
