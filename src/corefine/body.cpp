#include "corefine/body.hpp"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "exact/failure.hpp"
#include "exact/interrupt.hpp"
#include "merge/merged.hpp"

namespace brevant {
namespace {

Rational cone_volume6(const std::vector<Vec3>& v) {
    if (v.size() < 3) return Rational();
    Vec3 fan = cross(v[1], v[2]);
    for (std::size_t i = 2; i + 1 < v.size(); ++i) fan = add(fan, cross(v[i], v[i + 1]));
    return dot(v[0], fan);
}

// The margin the face boxes carry (widened_box): far above the rounding of a shadow.
double margin(double lo, double hi) { return 1e-9 * std::max(std::fabs(lo), std::fabs(hi)) + 1e-300; }

Box2 loop_box(const std::vector<FloatVertex>& floats, int axis) {
    const int u = (axis + 1) % 3, v = (axis + 2) % 3;
    Box2 box{{INFINITY, INFINITY}, {-INFINITY, -INFINITY}};
    for (const FloatVertex& p : floats) {
        const std::array<double, 2> q{p[u], p[v]};
        for (int a = 0; a < 2; ++a) {
            if (!std::isfinite(q[a])) return {{-INFINITY, -INFINITY}, {INFINITY, INFINITY}};
            box.lo[a] = std::min(box.lo[a], q[a]);
            box.hi[a] = std::max(box.hi[a], q[a]);
        }
    }
    for (int a = 0; a < 2; ++a) {
        const double m = margin(box.lo[a], box.hi[a]);
        box.lo[a] -= m;
        box.hi[a] += m;
    }
    return box;
}

}  // namespace

bool Box2::overlaps(const Box2& other) const {
    return !(hi[0] < other.lo[0] || other.hi[0] < lo[0] || hi[1] < other.lo[1] || other.hi[1] < lo[1]);
}

bool Box2::contains(const std::array<double, 2>& p) const {
    return lo[0] <= p[0] && p[0] <= hi[0] && lo[1] <= p[1] && p[1] <= hi[1];
}

void Box2::extend(const Box2& other) {
    for (int a = 0; a < 2; ++a) {
        lo[a] = std::min(lo[a], other.lo[a]);
        hi[a] = std::max(hi[a], other.hi[a]);
    }
}

LoopPtr make_loop(std::vector<Vec3> points, const PlaneFrame& frame) {
    auto loop = std::make_shared<Loop>();
    loop->floats = to_float_vertices(points);
    loop->points2.reserve(points.size());
    for (const Vec3& p : points) loop->points2.push_back(frame.project(p));
    loop->box2 = loop_box(loop->floats, frame.axis);
    loop->volume6 = cone_volume6(points);
    loop->points = std::move(points);
    return loop;
}

LoopPtr reversed_loop(const Loop& loop) {
    auto r = std::make_shared<Loop>(Loop{{loop.points.rbegin(), loop.points.rend()},
                                         {loop.floats.rbegin(), loop.floats.rend()},
                                         {loop.points2.rbegin(), loop.points2.rend()},
                                         loop.box2,
                                         -loop.volume6});
    return r;
}

FacePtr make_face(const Plane& plane, std::shared_ptr<const PlaneFrame> frame, std::string label,
                  std::vector<LoopPtr> loops) {
    auto face = std::make_shared<BodyFace>();
    face->plane = plane;
    face->fast = plane_f64(plane);
    face->turn = plane.normal[frame->axis].sign();
    face->plane_hash = PlaneKey4Hash{}(frame->key);
    face->frame = std::move(frame);
    face->label = std::move(label);
    face->vertex_count = 0;
    for (const LoopPtr& loop : loops) {
        face->volume6 += loop->volume6;
        face->vertex_count += loop->points.size();
    }
    // The face's box from its loops' plane boxes would lose the third axis; its outer loop holds
    // every point of the face.
    face->box = widened_box(loops.front()->floats);
    face->loops = std::move(loops);
    return face;
}

FacePtr flipped_face(const BodyFace& face) {
    std::vector<LoopPtr> loops;
    loops.reserve(face.loops.size());
    for (const LoopPtr& loop : face.loops) loops.push_back(reversed_loop(*loop));
    return make_face(face.plane.flipped(), face.frame, face.label, std::move(loops));
}

Body make_body(std::vector<FacePtr> faces) {
    const std::size_t n = faces.size();
    return make_body_in_order(std::move(faces), n);
}

Body make_body_in_order(std::vector<FacePtr> faces, std::size_t unsorted) {
    const bool keep_order = 2 * unsorted < faces.size();
    std::vector<Box3> boxes;
    boxes.reserve(faces.size());
    Box3 all{{INFINITY, INFINITY, INFINITY}, {-INFINITY, -INFINITY, -INFINITY}};
    Rational volume;
    for (const FacePtr& f : faces) {
        boxes.push_back(f->box);
        all.extend(f->box);
        volume += f->volume6;
    }
    return Body{std::move(faces), FaceTree(std::move(boxes), keep_order), all, std::move(volume), keep_order ? unsorted : 0};
}

Body body_of(const Solid& solid) {
    int largest_winding = 1;
    const Solid merged_copy = solid.merged_form ? Solid{} : merged_faces(solid, &largest_winding);
    // A soup covering a region twice is a count of solids, not one: union, cut and intersect of
    // such counts have no one answer, so they are declined rather than given one.
    if (largest_winding > 1) {
        throw Refusal("boolean: an operand covers part of its surface more than once (polygons in one plane "
                      "overlap, facing the same way)");
    }
    const Solid& whole = solid.merged_form ? solid : merged_copy;
    std::unordered_map<Plane, std::shared_ptr<const PlaneFrame>, PlaneHash, PlaneEqual> frames;
    std::vector<FacePtr> faces;
    faces.reserve(whole.polygons.size());
    for (const Polygon& p : whole.polygons) {
        poll_interrupt();
        const std::optional<Plane> plane = polygon_plane(p);
        if (!plane) continue;  // no area anywhere
        auto [it, added] = frames.try_emplace(*plane);
        if (added) it->second = std::make_shared<const PlaneFrame>(PlaneFrame::of(*plane));
        faces.push_back(make_face(*plane, it->second, p.label, {make_loop(p.vertices, *it->second)}));
    }
    return make_body(std::move(faces));
}

Solid materialise(const Body& body) {
    Solid soup;
    for (const FacePtr& face : body.faces) {
        for (const LoopPtr& loop : face->loops) {
            poll_interrupt();
            soup.polygons.push_back({loop->points, loop->floats, face->label, face->plane});
        }
    }
    return merged(soup);
}

}  // namespace brevant
