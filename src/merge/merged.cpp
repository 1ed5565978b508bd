#include "merge/merged.hpp"

#include <algorithm>
#include <unordered_map>

#include "exact/interrupt.hpp"
#include "merge/coplanar_merge.hpp"
#include "merge/plane_frame.hpp"
#include "merge/t_junctions.hpp"

namespace brevant {
namespace {

bool vec_less(const Vec3& p, const Vec3& q) { return std::lexicographical_compare(p.begin(), p.end(), q.begin(), q.end()); }

struct PlaneGroup {
    PlaneFrame frame;
    std::vector<OwnedLoop> loops;
};

struct Grouping {
    std::vector<std::string> labels;  // owners are indices here, in byte order
    std::vector<PlaneGroup> groups;   // in order of first appearance
};

Grouping group_by_plane(const Solid& solid) {
    Grouping g;
    for (const Polygon& p : solid.polygons) g.labels.push_back(p.label);
    std::sort(g.labels.begin(), g.labels.end());
    g.labels.erase(std::unique(g.labels.begin(), g.labels.end()), g.labels.end());

    std::unordered_map<Plane, PlaneFrame, PlaneHash, PlaneEqual> frames;
    std::unordered_map<PlaneKey4, std::size_t, PlaneKey4Hash> group_of;
    for (const Polygon& p : solid.polygons) {
        poll_interrupt();
        const std::optional<Plane> plane = polygon_plane(p);
        if (!plane) continue;  // no area anywhere
        auto cached = frames.find(*plane);
        if (cached == frames.end()) cached = frames.emplace(*plane, PlaneFrame::of(*plane)).first;
        auto [it, added] = group_of.try_emplace(cached->second.key, g.groups.size());
        if (added) g.groups.push_back({cached->second, {}});
        PlaneGroup& group = g.groups[it->second];
        OwnedLoop loop{{}, static_cast<int>(std::lower_bound(g.labels.begin(), g.labels.end(), p.label) - g.labels.begin()),
                       &p.vertices};
        for (const Vec3& v : p.vertices) loop.points.push_back(group.frame.project(v));
        group.loops.push_back(std::move(loop));
    }
    return g;
}

struct Face {
    std::vector<Vec3> loop;
    Plane plane;
    int owner;
};

struct Faces {
    std::vector<Face> faces;
    int deepest = 0;  // the largest |winding| in any plane, 0 for no faces
};

Faces merge_planes(const Grouping& g) {
    Faces result;
    for (const PlaneGroup& group : g.groups) {
        for (MergedPiece& piece : merge_coplanar(group.loops)) {
            result.deepest = std::max(result.deepest, piece.level);
            Face face{std::move(piece.space), group.frame.oriented(piece.sign), piece.owner};
            if (face.loop.empty()) {
                for (const Point2& q : piece.loop) face.loop.push_back(group.frame.lift(q));
            }
            if (piece.sign < 0) std::reverse(face.loop.begin(), face.loop.end());
            result.faces.push_back(std::move(face));
        }
    }
    return result;
}

void start_at_least_vertex(std::vector<Vec3>& loop) {
    std::rotate(loop.begin(), std::min_element(loop.begin(), loop.end(), vec_less), loop.end());
}

}  // namespace

Solid merged_faces(const Solid& solid, int* largest_winding) {
    const Grouping g = group_by_plane(solid);
    Faces merged = merge_planes(g);
    if (largest_winding) *largest_winding = merged.deepest;
    Solid result;
    for (Face& face : merged.faces) {
        std::vector<FloatVertex> floats = to_float_vertices(face.loop);
        result.polygons.push_back({std::move(face.loop), std::move(floats), g.labels[face.owner], std::move(face.plane)});
    }
    return result;
}

Solid merged(const Solid& solid) {
    if (solid.merged_form) return solid;
    const Grouping g = group_by_plane(solid);
    Faces merged = merge_planes(g);
    std::vector<Face>& faces = merged.faces;
    std::vector<std::vector<Vec3>> loops;
    loops.reserve(faces.size());
    for (Face& face : faces) loops.push_back(std::move(face.loop));
    insert_t_junctions(loops);
    for (std::size_t i = 0; i < faces.size(); ++i) {
        faces[i].loop = std::move(loops[i]);
        start_at_least_vertex(faces[i].loop);
    }
    // Equal loops come only from a region covered more than once: their labels order them.
    std::sort(faces.begin(), faces.end(), [&](const Face& x, const Face& y) {
        if (x.loop != y.loop) {
            return std::lexicographical_compare(x.loop.begin(), x.loop.end(), y.loop.begin(), y.loop.end(), vec_less);
        }
        return x.owner < y.owner;
    });
    Solid result;
    result.polygons.reserve(faces.size());
    for (Face& face : faces) {
        std::vector<FloatVertex> floats = to_float_vertices(face.loop);
        result.polygons.push_back({std::move(face.loop), std::move(floats), g.labels[face.owner], std::move(face.plane)});
    }
    // A solid covering some region more than once keeps being checked by merged_faces.
    result.merged_form = merged.deepest <= 1;
    return result;
}

}  // namespace brevant
