#include "corefine/face_set.hpp"

#include <cmath>

#include "exact/interrupt.hpp"
#include "merge/merged.hpp"

namespace brevant {

Box3 widened_box(const std::vector<FloatVertex>& points) {
    Box3 box{{INFINITY, INFINITY, INFINITY}, {-INFINITY, -INFINITY, -INFINITY}};
    for (const FloatVertex& p : points) {
        for (int a = 0; a < 3; ++a) {
            // An infinite or NaN shadow (a coordinate beyond the double range) makes the box all of space.
            if (!std::isfinite(p[a])) return {{-INFINITY, -INFINITY, -INFINITY}, {INFINITY, INFINITY, INFINITY}};
            box.lo[a] = std::min(box.lo[a], p[a]);
            box.hi[a] = std::max(box.hi[a], p[a]);
        }
    }
    for (int a = 0; a < 3; ++a) {
        const double margin = 1e-9 * std::max(std::fabs(box.lo[a]), std::fabs(box.hi[a])) + 1e-300;
        box.lo[a] -= margin;
        box.hi[a] += margin;
    }
    return box;
}

FaceSet face_set(const Solid& solid, bool whole) {
    Solid faces = whole || solid.merged_form ? solid : merged_faces(solid);
    std::vector<Face> result;
    std::vector<Box3> boxes;
    result.reserve(faces.polygons.size());
    for (Polygon& p : faces.polygons) {
        poll_interrupt();
        const PlaneFrame frame = PlaneFrame::of(p.plane);
        std::vector<Point2> loop2;
        loop2.reserve(p.vertices.size());
        for (const Vec3& v : p.vertices) loop2.push_back(frame.project(v));
        const int turn = p.plane.normal[frame.axis].sign();  // merged faces turn about their own normal
        boxes.push_back(widened_box(p.float_vertices));
        result.push_back({std::move(p.vertices), std::move(p.float_vertices), std::move(p.label), std::move(p.plane),
                          frame, std::move(loop2), turn});
    }
    Box3 all{{INFINITY, INFINITY, INFINITY}, {-INFINITY, -INFINITY, -INFINITY}};
    for (const Box3& b : boxes) all.extend(b);
    return {std::move(result), FaceTree(std::move(boxes)), all};
}

}  // namespace brevant
