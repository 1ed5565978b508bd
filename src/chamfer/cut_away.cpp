#include "chamfer/cut_away.hpp"

#include <algorithm>

#include "boolean/boolean.hpp"
#include "exact/interrupt.hpp"
#include "solid/measures.hpp"

namespace brevant {
namespace {

using Box = std::pair<Vec3, Vec3>;

bool apart(const Box& a, const Box& b) {
    for (std::size_t i = 0; i < 3; ++i) {
        if (a.second[i] < b.first[i] || b.second[i] < a.first[i]) return true;
    }
    return false;
}

// Pieces whose bounding boxes do not meet, gathered into one solid each: a cut by several
// separate pieces at once removes the same as cuts by each in turn, and builds the tree of the
// solid being cut once instead of once per piece.
std::vector<Solid> batches_of_separate_pieces(std::vector<Solid> pieces) {
    std::vector<Solid> batches;
    std::vector<std::vector<Box>> boxes;
    for (Solid& piece : pieces) {
        poll_interrupt();  // every piece, against every batch
        const Box box = bbox(piece);
        std::size_t b = 0;
        while (b < batches.size() &&
               !std::all_of(boxes[b].begin(), boxes[b].end(), [&](const Box& other) { return apart(box, other); })) {
            ++b;
        }
        if (b == batches.size()) {
            batches.emplace_back();
            boxes.emplace_back();
        }
        for (Polygon& p : piece.polygons) batches[b].polygons.push_back(std::move(p));
        boxes[b].push_back(box);
    }
    return batches;
}

}  // namespace

Solid cut_away(Solid solid, std::vector<Solid> pieces) {
    for (Solid& batch : batches_of_separate_pieces(std::move(pieces))) {
        poll_interrupt();  // every batch
        solid = boolean_impl("cut", std::move(solid), std::move(batch));
    }
    return solid;
}

}  // namespace brevant
