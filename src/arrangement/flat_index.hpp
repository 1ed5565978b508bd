// Numbering distinct keys by first appearance, in an open-addressing table: the keys live in a
// vector in number order and the table holds their numbers, probed linearly from the key's hash and
// kept at most half full. Lighter than a node-based map for the many small tables of arrangements.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace brevant {

template <typename Key, typename Hash>
class FlatIndex {
public:
    // The number of the key and whether it was added now.
    std::pair<int, bool> intern(const Key& key) {
        if (2 * (keys_.size() + 1) > slots_.size()) grow();
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = Hash{}(key) & mask;; i = (i + 1) & mask) {
            if (slots_[i] < 0) {
                slots_[i] = static_cast<int>(keys_.size());
                keys_.push_back(key);
                return {slots_[i], true};
            }
            if (keys_[slots_[i]] == key) return {slots_[i], false};
        }
    }
    const std::vector<Key>& keys() const { return keys_; }
    std::vector<Key> take_keys() { return std::move(keys_); }
    std::size_t size() const { return keys_.size(); }

private:
    void grow() {
        slots_.assign(slots_.empty() ? 16 : 2 * slots_.size(), -1);
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t n = 0; n < keys_.size(); ++n) {
            std::size_t i = Hash{}(keys_[n]) & mask;
            while (slots_[i] >= 0) i = (i + 1) & mask;
            slots_[i] = static_cast<int>(n);
        }
    }

    std::vector<int> slots_;  // −1 for empty
    std::vector<Key> keys_;
};

}  // namespace brevant
