// Measures of a solid.
//
// Notation: volume6 is six times the signed volume (fan tetrahedra from the origin; positive for a
// closed outward solid). The canonical text lists each polygon as its sorted vertex texts
// "x,y,z" joined by "|", the distinct polygon texts sorted and joined by ";".
#pragma once

#include <string>
#include <utility>

#include "solid/solid.hpp"

namespace brevant {

Rational volume6(const Solid& solid);
// The sign of volume6, read from the double shadows where they prove it, computed exactly otherwise.
int volume6_sign(const Solid& solid);
std::string canonical_text(const Solid& solid);
// The number of distinct canonical planes among the polygons.
std::size_t logical_face_count(const Solid& solid);
// (lowest, highest) corner; a solid without polygons fails.
std::pair<Vec3, Vec3> bbox(const Solid& solid);

// "x,y,z" with each coordinate in the text form.
std::string point_text(const Vec3& p);
// "a,b,c,d" in decimal.
std::string plane_key_text(const PlaneKey& key);

}  // namespace brevant
