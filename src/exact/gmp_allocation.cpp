#include "exact/gmp_allocation.hpp"

#include <cstdlib>
#include <new>

#include <gmp.h>

namespace brevant {
namespace {

void* allocate(std::size_t size) {
    void* block = std::malloc(size);
    if (!block) throw std::bad_alloc();
    return block;
}

void* reallocate(void* block, std::size_t, std::size_t new_size) {
    // On failure realloc leaves the old block in place, so GMP's number stays intact.
    void* moved = std::realloc(block, new_size);
    if (!moved) throw std::bad_alloc();
    return moved;
}

void release(void* block, std::size_t) { std::free(block); }

}  // namespace

void use_throwing_gmp_allocation() {
    static const bool installed = [] {
        mp_set_memory_functions(allocate, reallocate, release);
        return true;
    }();
    (void)installed;
}

}  // namespace brevant
