// Glue for the surface-intersection pair search.
#include "binding/functions.hpp"
#include "ssi/pair_search.hpp"

namespace brevant::binding {
namespace {

ParamBox box_argument(const Args& args, std::size_t i) {
    return args.is_none(i) ? unit_param_box() : parse_param_box(args.texts(i));
}

RPatch patch_of(ControlNet net, ParamBox box) {
    return RPatch{std::move(net), std::move(box.u0), std::move(box.u1), std::move(box.v0), std::move(box.v1)};
}

}  // namespace

const FunctionDef ssi_pairs_function{
    "ssi_pairs",
    {{"net_a", Kind::Texts3},
     {"net_b", Kind::Texts3},
     {"depth", Kind::UInt64},
     {"a_box", Kind::Texts, true},
     {"b_box", Kind::Texts, true}},
    [](const Args& args) -> Result {
        ParamBox a_box = box_argument(args, 3);
        ParamBox b_box = box_argument(args, 4);
        ControlNet net_a = parse_net(args.texts3(0));
        ControlNet net_b = parse_net(args.texts3(1));
        return ssi_pairs(patch_of(std::move(net_a), std::move(a_box)), patch_of(std::move(net_b), std::move(b_box)),
                         args.uint64(2));
    },
};

}  // namespace brevant::binding
