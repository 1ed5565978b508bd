#include "arrangement/weights.hpp"

#include <algorithm>

namespace brevant {

Weights combine(const Weights& a, const Weights& b, int sign) {
    Weights result;
    result.reserve(a.size() + b.size());
    auto i = a.begin(), j = b.begin();
    while (i != a.end() || j != b.end()) {
        if (j == b.end() || (i != a.end() && i->owner < j->owner)) {
            result.push_back(*i++);
        } else if (i == a.end() || j->owner < i->owner) {
            result.push_back({j->owner, sign * j->weight});
            ++j;
        } else {
            if (const int w = i->weight + sign * j->weight; w != 0) result.push_back({i->owner, w});
            ++i;
            ++j;
        }
    }
    return result;
}

void add_weight(Weights& w, int owner, int weight) {
    const auto at = std::lower_bound(w.begin(), w.end(), owner, [](const OwnerWeight& ow, int o) { return ow.owner < o; });
    if (at == w.end() || at->owner != owner) {
        if (weight != 0) w.insert(at, {owner, weight});
    } else if ((at->weight += weight) == 0) {
        w.erase(at);
    }
}

int total(const Weights& w) {
    int sum = 0;
    for (const OwnerWeight& ow : w) sum += ow.weight;
    return sum;
}

}  // namespace brevant
