#include "chamfer/cut_away.hpp"

#include "boolean/boolean.hpp"
#include "exact/interrupt.hpp"

namespace brevant {

Solid cut_away(Solid solid, std::vector<Solid> pieces) {
    for (Solid& piece : pieces) {
        poll_interrupt();  // every piece
        solid = boolean_impl("cut", std::move(solid), std::move(piece));
    }
    return solid;
}

}  // namespace brevant
