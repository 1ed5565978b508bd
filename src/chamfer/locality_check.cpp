#include "chamfer/locality_check.hpp"

#include <map>

#include "chamfer/face_planes.hpp"
#include "chamfer/refusals.hpp"
#include "exact/interrupt.hpp"
#include "solid/measures.hpp"

namespace brevant {
namespace {

using AreaByPlane = std::map<OrientedKey, Rational>;

OrientedKey opposite(const OrientedKey& key) { return {key.key, -key.orientation}; }

bool removed_exactly_the_pieces(const Solid& solid, const std::vector<ConvexPiece>& pieces, const Solid& result) {
    Rational removed;
    for (const ConvexPiece& piece : pieces) removed += volume6(piece.solid);
    return volume6(solid) - volume6(result) == removed;
}

void add_area(AreaByPlane& areas, const Polygon& polygon, int sign) {
    const OrientedKey key = oriented_key(outward_plane(polygon));
    const Rational area = area_measure(polygon.vertices, key.key);
    Rational& total = areas[key];
    total = sign > 0 ? total + area : total - area;
}

bool faces_lost_only_their_contacts(const Solid& solid, const std::vector<ConvexPiece>& pieces, const Solid& result) {
    AreaByPlane expected;
    for (const Polygon& polygon : solid.polygons) add_area(expected, polygon, +1);
    for (const auto& [key, area] : AreaByPlane(expected)) expected.try_emplace(opposite(key));
    for (const ConvexPiece& piece : pieces) {
        for (const Contact& contact : piece.contacts) add_area(expected, contact.polygon, -1);
        for (const Contact& end : piece.stops) add_area(expected, end.polygon.flipped(), +1);
    }
    AreaByPlane found;
    for (const Polygon& polygon : result.polygons) {
        poll_interrupt();  // every polygon of the result
        const OrientedKey key = oriented_key(outward_plane(polygon));
        if (expected.contains(key)) found[key] += area_measure(polygon.vertices, key.key);
    }
    for (const auto& [key, area] : expected) {
        const auto it = found.find(key);
        if (!(area == (it == found.end() ? Rational() : it->second))) return false;
    }
    return true;
}

bool every_face_kept(const Solid& solid, const EdgeMap& map, const std::vector<ConvexPiece>& pieces) {
    std::vector<Rational> left(map.face_count);
    for (std::size_t i = 0; i < solid.polygons.size(); ++i) {
        const Polygon& polygon = solid.polygons[i];
        left[map.face_of[i]] += area_measure(polygon.vertices, outward_plane(polygon).canonical());
    }
    for (const ConvexPiece& piece : pieces) {
        for (const Contact& contact : piece.contacts) {
            left[contact.face] -= area_measure(contact.polygon.vertices, outward_plane(contact.polygon).canonical());
        }
    }
    for (const Rational& area : left) {
        if (area.sign() <= 0) return false;
    }
    return true;
}

}  // namespace

void refuse_unless_local(const Solid& solid, const EdgeMap& map, const std::vector<ConvexPiece>& pieces,
                         const Solid& result) {
    if (!removed_exactly_the_pieces(solid, pieces, result) || !faces_lost_only_their_contacts(solid, pieces, result) ||
        !every_face_kept(solid, map, pieces)) {
        refuse_too_large();
    }
}

void refuse_unless_added(const Solid& before, const std::vector<ConvexPiece>& pieces, const Solid& after) {
    const Solid outside_before = before.flipped(), outside_after = after.flipped();
    if (!removed_exactly_the_pieces(outside_before, pieces, outside_after) ||
        !faces_lost_only_their_contacts(outside_before, pieces, outside_after)) {
        refuse_too_large();
    }
}

void refuse_unless_faces_kept(const Solid& solid, const EdgeMap& map, const std::vector<ConvexPiece>& pieces) {
    if (!every_face_kept(solid, map, pieces)) refuse_too_large();
}

}  // namespace brevant
