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

void refuse_vertex(const Vec3& vertex, const std::string& reason) {
    throw Refusal("chamfer: cannot resolve the vertex at (" + coordinate_text(vertex[0]) + ", " +
                  coordinate_text(vertex[1]) + ", " + coordinate_text(vertex[2]) + "): " + reason);
}

}  // namespace brevant
