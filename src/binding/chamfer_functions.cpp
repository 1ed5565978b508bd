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

// The chamfers take the solid as the engine holds it too, when its value has that form already: a
// result of the booleans keeps whole faces with their holes there.
const MethodDef chamfer_method{"chamfer", {{"dist", Kind::Text}}, nullptr, [](const SolidValue& self, const Args& args) -> Result {
                                   const Rational dist = parse_r(args.text(0));
                                   return std::visit([](auto&& solid) -> Result { return std::move(solid); },
                                                     chamfer(self.solid(), dist, self.known_body()));
                               }};

const MethodDef chamfer_edges_method{
    "chamfer_edges",
    {{"edges", Kind::EdgeNames, false, true}, {"dist", Kind::Text}, {"dist2", Kind::Text, true}},
    nullptr,
    [](const SolidValue& self, const Args& args) -> Result {
        std::optional<std::vector<EdgeChoice>> edges = edge_choices(args);
        const Rational dist_a = parse_r(args.text(1));
        const Rational dist_b = args.is_none(2) ? dist_a : parse_r(args.text(2));
        return chamfer_edges(self.solid(), edges, dist_a, dist_b, self.known_body());
    },
};

const MethodDef edges_method{
    "edges", {}, [](const Solid& self, const Args&) -> Result { return edge_records(list_edges(self)); }};

const MethodDef watertight_ok_method{
    "watertight_ok", {}, [](const Solid& self, const Args&) -> Result { return Truth{watertight_ok(self)}; }};

}  // namespace brevant::binding
