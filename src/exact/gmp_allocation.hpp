// GMP's allocation, made to fail by throwing std::bad_alloc instead of aborting the process.
#pragma once

namespace brevant {

// Routes GMP's allocations through malloc/realloc/free and throws std::bad_alloc when one of
// them fails. Call once before any GMP number exists; later calls do nothing. The memory comes
// from malloc as with GMP's own functions, so numbers made before the switch stay valid.
//
// An exception thrown inside a GMP routine unwinds through its C frames (the library is built
// with unwind tables): the number being written keeps its old, valid limbs, and at worst a
// temporary of the interrupted routine is lost.
void use_throwing_gmp_allocation();

}  // namespace brevant
