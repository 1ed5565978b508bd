// Loops of one plane added up with signs, and the boundary of the sum of their regions, found
// without an arrangement: it applies where no side of one loop crosses a side of another, so that
// every point of the sum's boundary is a point of some loop.
//
// Notation: each side p→q of a loop lies on a line; along that line it counts +s where it runs the
// line's way and −s against it, s being its loop's sign. The sides on a line add up stretch by
// stretch (between consecutive side ends); where the count is ±1 the stretch is a side of the net
// boundary, run along the line or against it. The net sides join end to end into loops, dropping
// points where a loop runs straight on along one line.
#pragma once

#include <optional>
#include <vector>

#include "merge/plane_frame.hpp"

namespace brevant {

struct SignedLoop {
    const std::vector<Vec3>* points;  // in the plane of the frame
    int sign;                         // +1 or −1
};

// The net boundary's loops, or nothing when a stretch counts twice or more, or a point starts or
// ends more than one net side (two regions touching at a point, which the caller leaves to the
// general merge).
std::optional<std::vector<std::vector<Vec3>>> net_loops(const std::vector<SignedLoop>& loops, const PlaneFrame& frame);

// The loops less every pair of one sign of which one runs through the other's points the other
// way round: those cancel in the sum, and dropping them first spares adding up their sides.
std::vector<SignedLoop> uncancelled(std::vector<SignedLoop> loops);

// +1 when the loop turns counter-clockwise in the frame's coordinates, −1 when clockwise; the loop
// must be simple with a nonzero area.
int loop_turn(const std::vector<Vec3>& loop, const PlaneFrame& frame);

}  // namespace brevant
