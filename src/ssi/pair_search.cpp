#include "ssi/pair_search.hpp"

#include <limits>

#include "exact/failure.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

// A patch with its box, computed once: a pair's boxes at one level are its quarters' boxes from
// the level before.
struct Piece {
    RPatch patch;
    BoundingBox box;
};

// The pieces of one level, each stored once however many pairs hold it; pairs are index pairs
// (into a, into b) in result order.
struct Level {
    std::vector<Piece> a, b;
    std::vector<std::pair<std::size_t, std::size_t>> pairs;
};

constexpr std::size_t not_split = std::numeric_limits<std::size_t>::max();

bool disjoint(const BoundingBox& p, const BoundingBox& q) {
    for (std::size_t axis = 0; axis < 3; ++axis)
        if (p.lo[axis] > q.hi[axis] || q.lo[axis] > p.hi[axis]) return true;
    return false;
}

// Index in `children` of the first of the four quarters of parents[i], splitting it and bounding
// its quarters only the first time any pair asks; splitting is deterministic, so every pair that
// holds the piece would get the same quarters. A split piece gives its control points to its
// quarters: only its box is read again.
std::size_t quarters_of(std::vector<Piece>& parents, std::size_t i, std::vector<std::size_t>& first_child,
                        std::vector<Piece>& children) {
    if (first_child[i] == not_split) {
        std::array<RPatch, 4> quarters = RPatch::split4(std::move(parents[i].patch));
        first_child[i] = children.size();
        for (RPatch& q : quarters) {
            BoundingBox box = RPatch::bbox(q);
            children.push_back(Piece{std::move(q), std::move(box)});
        }
    }
    return first_child[i];
}

Level next_level(Level& level) {
    Level next;
    std::vector<std::size_t> first_a(level.a.size(), not_split), first_b(level.b.size(), not_split);
    for (const auto& [ia, ib] : level.pairs) {
        poll_interrupt();  // the pairs can grow sixteenfold per level
        if (disjoint(level.a[ia].box, level.b[ib].box)) continue;
        const std::size_t qa = quarters_of(level.a, ia, first_a, next.a);
        const std::size_t qb = quarters_of(level.b, ib, first_b, next.b);
        for (std::size_t x = qa; x < qa + 4; ++x)
            for (std::size_t y = qb; y < qb + 4; ++y)
                if (!disjoint(next.a[x].box, next.b[y].box)) next.pairs.emplace_back(x, y);
    }
    return next;
}

// The projection by weights keeps the surface inside the control points' hull only when the
// weights share one sign; with both signs an empty answer would prove nothing.
void refuse_mixed_weights(const ControlNet& net, const char* name) {
    if (net.empty() || net[0].empty() || net[0][0].size() == 3) return;
    bool positive = false, negative = false;
    for (const ControlRow& row : net)
        for (const ControlPoint& p : row)
            if (p.size() > 3) {
                positive = positive || p[3].sign() > 0;
                negative = negative || p[3].sign() < 0;
            }
    if (positive && negative)
        throw Refusal(std::string(name) +
                      " has positive and negative weights: no certificate is possible with weights of mixed sign");
}

std::vector<std::string> row_texts(const RPatch& a, const RPatch& b) {
    return {a.u0.str(), a.u1.str(), a.v0.str(), a.v1.str(), b.u0.str(), b.u1.str(), b.v0.str(), b.v1.str()};
}

}  // namespace

ParamBox unit_param_box() { return ParamBox{0, 1, 0, 1}; }

ParamBox parse_param_box(const std::vector<std::string>& texts) {
    auto entry = [&texts](std::size_t i) {
        if (i >= texts.size()) throw InternalFailure("index out of range: a parameter box needs four entries");
        return parse_r(texts[i]);
    };
    ParamBox box;
    box.u0 = entry(0);
    box.u1 = entry(1);
    box.v0 = entry(2);
    box.v1 = entry(3);
    return box;
}

std::vector<std::vector<std::string>> ssi_pairs(RPatch a, RPatch b, std::uint64_t depth) {
    if (depth == 0) return {row_texts(a, b)};
    refuse_mixed_weights(a.net, "net_a");
    refuse_mixed_weights(b.net, "net_b");

    Level level;
    BoundingBox box_a = RPatch::bbox(a);
    BoundingBox box_b = RPatch::bbox(b);
    level.a.push_back(Piece{std::move(a), std::move(box_a)});
    level.b.push_back(Piece{std::move(b), std::move(box_b)});
    level.pairs.emplace_back(0, 0);
    for (std::uint64_t i = 0; i < depth; ++i) {
        level = next_level(level);
        if (level.pairs.empty()) return {};
    }

    std::vector<std::vector<std::string>> rows;
    rows.reserve(level.pairs.size());
    for (const auto& [ia, ib] : level.pairs) {
        poll_interrupt();
        rows.push_back(row_texts(level.a[ia].patch, level.b[ib].patch));
    }
    return rows;
}

}  // namespace brevant
