#include "arrangement/point_index.hpp"

namespace brevant {

int PointIndex::intern(const Point2& p) {
    if (2 * (points_.size() + 1) > slots_.size()) grow();
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = Point2Hash{}(p) & mask;; i = (i + 1) & mask) {
        if (slots_[i] < 0) {
            slots_[i] = static_cast<int>(points_.size());
            points_.push_back(p);
            return slots_[i];
        }
        if (points_[slots_[i]] == p) return slots_[i];
    }
}

void PointIndex::grow() {
    slots_.assign(slots_.empty() ? 16 : 2 * slots_.size(), -1);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t n = 0; n < points_.size(); ++n) {
        std::size_t i = Point2Hash{}(points_[n]) & mask;
        while (slots_[i] >= 0) i = (i + 1) & mask;
        slots_[i] = static_cast<int>(n);
    }
}

}  // namespace brevant
