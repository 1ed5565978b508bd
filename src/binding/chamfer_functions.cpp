// Glue for the chamfer, the edge list and the closedness check.
#include "binding/functions.hpp"
#include "chamfer/chamfer.hpp"
#include "chamfer/chosen_chamfer.hpp"
#include "chamfer/edge_list.hpp"
#include "solid/watertight.hpp"

namespace brevant::binding {
namespace {

EdgeRecords edge_records(const EdgeList& list) {
    EdgeRecords out;
    out.points.reserve(list.points.size());
    for (const Vec3& p : list.points) out.points.push_back({p[0].str(), p[1].str(), p[2].str()});
    out.labels = list.labels;
    out.records.reserve(list.edges.size());
    for (const EdgeEntry& e : list.edges) out.records.push_back({e.start, e.end, e.face_a, e.face_b, e.convex});
    return out;
}

Vec3 point_of(const Texts& texts) {
    Rational x = parse_r(texts.at(0));
    Rational y = parse_r(texts.at(1));
    Rational z = parse_r(texts.at(2));
    return {std::move(x), std::move(y), std::move(z)};
}

std::optional<std::vector<EdgeChoice>> edge_choices(const Args& args) {
    if (args.is_none(0)) return std::nullopt;
    std::vector<EdgeChoice> choices;
    for (const EdgeName& name : args.edge_names(0)) {
        if (name.index) {
            choices.push_back({name.index, {}, {}});
        } else {
            choices.push_back({std::nullopt, point_of(name.start), point_of(name.end)});
        }
    }
    return choices;
}

}  // namespace

const MethodDef chamfer_method{"chamfer", {{"dist", Kind::Text}}, [](const Solid& self, const Args& args) -> Result {
                                   return chamfer(self, parse_r(args.text(0)));
                               }};

const MethodDef chamfer_edges_method{
    "chamfer_edges",
    {{"edges", Kind::EdgeNames, false, true}, {"dist", Kind::Text}, {"dist2", Kind::Text, true}},
    [](const Solid& self, const Args& args) -> Result {
        std::optional<std::vector<EdgeChoice>> edges = edge_choices(args);
        const Rational dist_a = parse_r(args.text(1));
        const Rational dist_b = args.is_none(2) ? dist_a : parse_r(args.text(2));
        return chamfer_edges(self, edges, dist_a, dist_b);
    },
};

const MethodDef edges_method{
    "edges", {}, [](const Solid& self, const Args&) -> Result { return edge_records(list_edges(self)); }};

const MethodDef watertight_ok_method{
    "watertight_ok", {}, [](const Solid& self, const Args&) -> Result { return Truth{watertight_ok(self)}; }};

}  // namespace brevant::binding
