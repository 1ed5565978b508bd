// Disjoint sets of polygons (union-find with path halving): the faces that both edge maps build
// by joining polygons across the sides they share.
#pragma once

#include <cstddef>
#include <numeric>
#include <vector>

namespace brevant {

class PolygonSets {
public:
    explicit PolygonSets(std::size_t n) : parent_(n) { std::iota(parent_.begin(), parent_.end(), std::size_t{0}); }
    std::size_t find(std::size_t i) {
        while (parent_[i] != i) i = parent_[i] = parent_[parent_[i]];
        return i;
    }
    void unite(std::size_t i, std::size_t j) { parent_[find(i)] = find(j); }

private:
    std::vector<std::size_t> parent_;
};

}  // namespace brevant
