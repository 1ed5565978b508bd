// Closing T-junctions: where a vertex of one loop lies inside a side of another loop along the
// same line, the side gets that vertex too, so that sides meet end to end.
#pragma once

#include <vector>

#include "exact/vec3.hpp"

namespace brevant {

// Each side of each loop gains, in order along it, every end of another side on the same line that
// lies strictly inside it.
void insert_t_junctions(std::vector<std::vector<Vec3>>& loops);

}  // namespace brevant
