#include "corefine/section.hpp"

#include <algorithm>

#include "exact/interrupt.hpp"

namespace brevant {
namespace {

struct Crossing {
    Rational t;  // the parameter along L
    Vec3 point;
    int upper, lower;  // what it adds to the windings on the planes just above and just below Q
};

// Where the edge a → b meets Q, given their sides (not both on one strict side).
Vec3 meeting_point(const Plane& q, const Vec3& a, const Vec3& b, int side_a, int side_b) {
    if (side_a == 0) return a;
    if (side_b == 0) return b;
    const Rational ha = dot(q.normal, a) - q.offset;
    const Rational hb = dot(q.normal, b) - q.offset;
    return add(a, smul(ha / (ha - hb), sub(b, a)));
}

// Where each loop crosses the planes just above and just below Q.
void add_crossings(const Loop& loop, const Plane& q, const PlaneF64& q_fast, const Vec3& along,
                   std::vector<Crossing>& crossings) {
    const std::size_t n = loop.points.size();
    std::vector<int> side(n);
    for (std::size_t i = 0; i < n; ++i) side[i] = vertex_side(q, q_fast, loop.floats[i], loop.points[i]);
    for (std::size_t i = 0; i < n; ++i) {
        poll_interrupt();
        const std::size_t j = (i + 1) % n;
        const bool i_upper = side[i] > 0, j_upper = side[j] > 0;    // above the plane just above Q
        const bool i_lower = side[i] >= 0, j_lower = side[j] >= 0;  // above the plane just below Q
        if (i_upper == j_upper && i_lower == j_lower) continue;
        Vec3 point = meeting_point(q, loop.points[i], loop.points[j], side[i], side[j]);
        Rational t = dot(along, point);
        crossings.push_back({std::move(t), std::move(point), i_upper == j_upper ? 0 : (j_upper ? 1 : -1),
                             i_lower == j_lower ? 0 : (j_lower ? 1 : -1)});
    }
}

}  // namespace

std::vector<std::pair<Vec3, Vec3>> closed_section(const BodyFace& face, const Plane& q, const PlaneF64& q_fast) {
    const Vec3 along = cross(face.plane.normal, q.normal);
    std::vector<Crossing> crossings;
    for (const LoopPtr& loop : face.loops) add_crossings(*loop, q, q_fast, along, crossings);
    std::sort(crossings.begin(), crossings.end(), [](const Crossing& x, const Crossing& y) { return x.t < y.t; });
    std::vector<std::pair<Vec3, Vec3>> stretches;
    int upper = 0, lower = 0;
    bool open = false;
    for (std::size_t k = 0; k < crossings.size(); ++k) {
        upper += crossings[k].upper;
        lower += crossings[k].lower;
        if (k + 1 < crossings.size() && crossings[k + 1].t == crossings[k].t) continue;  // one point
        const bool inside = upper != 0 || lower != 0;
        if (inside && !open) {
            stretches.push_back({crossings[k].point, crossings[k].point});
            open = true;
        } else if (!inside && open) {
            stretches.back().second = crossings[k].point;
            open = false;
        }
    }
    return stretches;
}

}  // namespace brevant
