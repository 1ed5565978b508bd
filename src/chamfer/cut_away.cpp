#include "chamfer/cut_away.hpp"

#include <algorithm>
#include <numeric>

#include "chamfer/box_sweep.hpp"
#include "corefine/corefine.hpp"
#include "exact/interrupt.hpp"
#include "solid/plane_side.hpp"

namespace brevant {
namespace {

// Some face plane of `a` has every vertex of `b` on or in front of it.
bool face_separates(const Solid& a, const Solid& b) {
    for (const Polygon& face : a.polygons) {
        const PlaneF64 fast = plane_f64(face.plane);
        bool behind = false;
        for (const Polygon& p : b.polygons) {
            for (std::size_t i = 0; i < p.vertices.size() && !behind; ++i) {
                behind = vertex_side(face.plane, fast, p.float_vertices[i], p.vertices[i]) < 0;
            }
            if (behind) break;
        }
        if (!behind) return true;
    }
    return false;
}

}  // namespace

// A sweep along x over the shadow boxes, so that only pieces whose boxes meet are compared.
bool pieces_apart(const std::vector<const Solid*>& pieces) {
    std::vector<ShadowBox> boxes;
    boxes.reserve(pieces.size());
    for (const Solid* piece : pieces) boxes.push_back(box_of(*piece));
    std::vector<std::size_t> order(pieces.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t i, std::size_t j) { return boxes[i].lo[0] < boxes[j].lo[0]; });
    for (std::size_t x = 0; x < order.size(); ++x) {
        poll_interrupt();  // every piece, against those its box reaches
        const std::size_t i = order[x];
        for (std::size_t y = x + 1; y < order.size() && boxes[order[y]].lo[0] <= boxes[i].hi[0]; ++y) {
            const std::size_t j = order[y];
            if (!boxes_meet(boxes[i], boxes[j])) continue;
            if (!face_separates(*pieces[i], *pieces[j]) && !face_separates(*pieces[j], *pieces[i])) return false;
        }
    }
    return true;
}

Solid union_of_pieces(const std::vector<Solid>& pieces) {
    std::vector<const Solid*> parts;
    parts.reserve(pieces.size());
    for (const Solid& piece : pieces) parts.push_back(&piece);
    if (!pieces_apart(parts)) return union_all(parts);
    Solid together;
    for (const Solid& piece : pieces) {
        together.polygons.insert(together.polygons.end(), piece.polygons.begin(), piece.polygons.end());
    }
    return together;
}

Solid cut_away(const Solid& solid, const std::vector<Solid>& pieces, const Body* body) {
    const Body cutter = body_of(union_of_pieces(pieces));
    return materialise(body ? corefine(BooleanOp::Cut, *body, cutter) : corefine(BooleanOp::Cut, body_of(solid), cutter));
}

}  // namespace brevant
