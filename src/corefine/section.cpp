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

}  // namespace

std::vector<std::pair<Vec3, Vec3>> closed_section(const Face& face, const Plane& q, const PlaneF64& q_fast) {
    const std::size_t n = face.loop.size();
    std::vector<int> side(n);
    bool above = false, below = false, on = false;
    for (std::size_t i = 0; i < n; ++i) {
        side[i] = vertex_side(q, q_fast, face.floats[i], face.loop[i]);
        above = above || side[i] > 0;
        below = below || side[i] < 0;
        on = on || side[i] == 0;
    }
    // Wholly on one side, or wholly in Q (where the faces are coplanar, dealt with apart).
    if ((!(above && below) && !on) || (!above && !below)) return {};
    const Vec3 along = cross(face.plane.normal, q.normal);
    std::vector<Crossing> crossings;
    for (std::size_t i = 0; i < n; ++i) {
        poll_interrupt();
        const std::size_t j = (i + 1) % n;
        const bool i_upper = side[i] > 0, j_upper = side[j] > 0;    // above the plane just above Q
        const bool i_lower = side[i] >= 0, j_lower = side[j] >= 0;  // above the plane just below Q
        if (i_upper == j_upper && i_lower == j_lower) continue;
        Vec3 point = meeting_point(q, face.loop[i], face.loop[j], side[i], side[j]);
        Rational t = dot(along, point);
        crossings.push_back({std::move(t), std::move(point), i_upper == j_upper ? 0 : (j_upper ? 1 : -1),
                             i_lower == j_lower ? 0 : (j_lower ? 1 : -1)});
    }
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
