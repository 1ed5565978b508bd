#include "chamfer/refusals.hpp"

#include "exact/failure.hpp"

namespace brevant {
namespace {

std::string coordinate_text(const Rational& r) {
    return r.denominator() == BigInt(1) ? r.numerator().str() : r.str();
}

}  // namespace

void refuse_negative_distance() { throw Refusal("chamfer: the distance is negative"); }

void refuse_too_large() { throw Refusal("chamfer: the distance is too large for this solid"); }

std::string refusal_point_text(const Vec3& point) {
    return "(" + coordinate_text(point[0]) + ", " + coordinate_text(point[1]) + ", " + coordinate_text(point[2]) + ")";
}

void refuse_vertex(const Vec3& vertex, const std::string& reason) {
    throw Refusal("chamfer: cannot resolve the vertex at " + refusal_point_text(vertex) + ": " + reason);
}

}  // namespace brevant
