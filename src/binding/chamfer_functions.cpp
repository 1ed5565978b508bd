// Glue for the chamfer, the edge list and the closedness check.
#include "binding/functions.hpp"
#include "chamfer/chamfer.hpp"
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

}  // namespace

const MethodDef chamfer_method{"chamfer", {{"dist", Kind::Text}}, [](const Solid& self, const Args& args) -> Result {
                                   return chamfer(self, parse_r(args.text(0)));
                               }};

const MethodDef edges_method{
    "edges", {}, [](const Solid& self, const Args&) -> Result { return edge_records(list_edges(self)); }};

const MethodDef watertight_ok_method{
    "watertight_ok", {}, [](const Solid& self, const Args&) -> Result { return Truth{watertight_ok(self)}; }};

}  // namespace brevant::binding
