// Weights of segments by owner: how many times each owner's chains run along a segment.
//
// Notation: a Weights value lists (owner, weight) pairs sorted by owner, without zero weights;
// weights are counted along a stated direction, and turning the direction negates them all.
#pragma once

#include <vector>

namespace brevant {

struct OwnerWeight {
    int owner;
    int weight;
    bool operator==(const OwnerWeight&) const = default;
};
using Weights = std::vector<OwnerWeight>;

// a + sign·b.
Weights combine(const Weights& a, const Weights& b, int sign);
// w += weight·owner, in place: no allocation once w holds the owner.
void add_weight(Weights& w, int owner, int weight);
int total(const Weights& w);

}  // namespace brevant
