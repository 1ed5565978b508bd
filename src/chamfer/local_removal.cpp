#include "chamfer/local_removal.hpp"

#include <algorithm>
#include <array>
#include <numeric>
#include <unordered_map>
#include <unordered_set>

#include "boolean/split.hpp"
#include "chamfer/box_sweep.hpp"
#include "chamfer/cut_away.hpp"
#include "chamfer/net_boundary.hpp"
#include "chamfer/plane_points.hpp"
#include "corefine/point_location.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

using FramePtr = std::shared_ptr<const PlaneFrame>;

struct PieceFaces {
    std::vector<PlaneF64> fast;
    std::vector<Vec3> points;  // each vertex once
    std::vector<FloatVertex> floats;
    ShadowBox box;
};

PieceFaces faces_of(const Solid& piece) {
    PieceFaces f;
    for (const Polygon& p : piece.polygons) {
        f.fast.push_back(plane_f64(p.plane));
        for (std::size_t i = 0; i < p.vertices.size(); ++i) {
            bool seen = false;
            for (std::size_t j = 0; j < f.points.size() && !seen; ++j) {
                seen = f.floats[j] == p.float_vertices[i] && f.points[j] == p.vertices[i];
            }
            if (seen) continue;
            f.points.push_back(p.vertices[i]);
            f.floats.push_back(p.float_vertices[i]);
        }
    }
    f.box = box_of(f.floats);
    return f;
}

// Whether the plane passes between the piece's vertices (through its inside).
bool plane_cuts(const Plane& plane, const PlaneF64& fast, const PieceFaces& faces) {
    bool front = false, behind = false;
    for (std::size_t i = 0; i < faces.points.size() && !(front && behind); ++i) {
        const int side = vertex_side(plane, fast, faces.floats[i], faces.points[i]);
        front = front || side > 0;
        behind = behind || side < 0;
    }
    return front && behind;
}

// Whether a polygon whose plane cuts the piece meets its inside: the part of the polygon behind
// every face of the piece, which lies in a section through the inside, has area exactly then.
bool enters(const Polygon& polygon, const Solid& piece, const PieceFaces& faces) {
    Polygon part = polygon;
    for (std::size_t h = 0; h < piece.polygons.size(); ++h) {
        Split parts = split(piece.polygons[h].plane, faces.fast[h], std::move(part));
        if (parts.back.empty()) return false;
        part = std::move(parts.back.front());
    }
    return true;
}

// The mean of the points: inside their convex hull (in its relative inside when they span it).
Vec3 mean(const std::vector<Vec3>& points) {
    Vec3 sum = points.front();
    for (std::size_t i = 1; i < points.size(); ++i) sum = add(sum, points[i]);
    const Rational n(static_cast<long>(points.size()));
    return {sum[0] / n, sum[1] / n, sum[2] / n};
}

struct FaceOfSolid {
    std::vector<std::size_t> polygons;
    std::vector<const Contact*> contacts;
    FramePtr frame;
    int turn = 0;
};

class Removal {
public:
    Removal(const Solid& solid, const EdgeMap& map, const std::vector<ConvexPiece>& pieces, const Body* body)
        : solid_(solid), map_(map), pieces_(pieces), body_(body), faces_(map.face_count) {}

    std::optional<Body> run() {
        if (!index_faces() || !contacts_lie_on_their_faces() || !no_polygon_enters() ||
            !pieces_without_contacts_inside()) {
            return std::nullopt;
        }
        std::vector<FacePtr> out;
        if (!cut_faces(out) || !new_faces(out)) return std::nullopt;
        return make_body(std::move(out));
    }

private:
    // Planes are met again and again with the same coefficients (a piece's faces in one bevel's
    // plane): those find their frame without dividing.
    FramePtr frame_of(const Plane& plane) {
        auto [known, added] = frame_by_plane_.try_emplace(plane);
        if (!added) return known->second;
        PlaneFrame frame = PlaneFrame::of(plane);
        auto [it, new_key] = frames_.try_emplace(frame.key);
        if (new_key) it->second = std::make_shared<const PlaneFrame>(std::move(frame));
        return known->second = it->second;
    }

    bool index_faces() {
        for (const Polygon& p : solid_.polygons) polygon_boxes_.push_back(box_of(p.float_vertices));
        projected_.resize(solid_.polygons.size());
        for (std::size_t i = 0; i < solid_.polygons.size(); ++i) {
            FaceOfSolid& face = faces_[map_.face_of[i]];
            if (!face.frame) {
                face.frame = frame_of(solid_.polygons[i].plane);
                face.turn = solid_.polygons[i].plane.normal[face.frame->axis].sign();
            }
            face.polygons.push_back(i);
        }
        for (const ConvexPiece& piece : pieces_) {
            if (!piece.stops.empty()) return false;
            if (piece.contacts.empty()) without_contacts_.push_back(&piece);
            for (const Contact& contact : piece.contacts) faces_[contact.face].contacts.push_back(&contact);
        }
        return true;
    }

    // A piece that no polygon of the solid enters lies inside it or outside it whole; one with a
    // contact is inside (its centre lies on a face, the piece behind it); the others are told by
    // one point each, the mean of their corners, which lies inside them and so on no face.
    bool pieces_without_contacts_inside() {
        if (without_contacts_.empty()) return true;
        std::optional<Body> own;
        const Body& body = body_ ? *body_ : own.emplace(body_of(solid_));
        for (const ConvexPiece* piece : without_contacts_) {
            if (!inside_body(body, mean(faces_of(piece->solid).points))) return false;
        }
        return true;
    }

    // Each contact in its face's oriented plane, its centre on the face, and no side of that face
    // through its inside; the sides are compared face by face with the contacts their boxes meet.
    bool contacts_lie_on_their_faces() {
        std::vector<ShadowBox> segment_boxes;
        std::vector<std::vector<std::size_t>> sides_of(faces_.size());
        for (std::size_t j = 0; j < map_.segments.size(); ++j) {
            const Segment& s = map_.segments[j];
            segment_boxes.push_back(box_of({to_float_vertex(s.start), to_float_vertex(s.end)}));
            sides_of[map_.face_of[s.a.polygon]].push_back(j);
            sides_of[map_.face_of[s.b.polygon]].push_back(j);
        }
        for (std::size_t f = 0; f < faces_.size(); ++f) {
            const FaceOfSolid& face = faces_[f];
            if (face.contacts.empty()) continue;
            std::vector<Points2> corners;
            std::vector<ShadowBox> contact_boxes, side_boxes;
            for (const Contact* c : face.contacts) {
                if (!in_plane_of(c->polygon, face) || !centre_on_face(*c, face)) return false;
                corners.push_back(projected(c->polygon.vertices, *face.frame));
                contact_boxes.push_back(box_of(c->polygon.float_vertices));
            }
            for (std::size_t j : sides_of[f]) side_boxes.push_back(segment_boxes[j]);
            std::vector<Points2> ends(sides_of[f].size());
            const bool apart = all_pairs(contact_boxes, side_boxes, [&](std::size_t i, std::size_t k) {
                if (ends[k].exact.empty()) {
                    const Segment& s = map_.segments[sides_of[f][k]];
                    ends[k] = projected({s.start, s.end}, *face.frame);
                }
                return !crosses_inside(ends[k], corners[i], face.turn);
            });
            if (!apart) return false;
        }
        return true;
    }

    // A polygon of the solid in its face's frame, made when first asked for.
    const Points2& projected_polygon(std::size_t i) {
        if (projected_[i].exact.empty()) {
            projected_[i] = projected(solid_.polygons[i].vertices, *faces_[map_.face_of[i]].frame);
        }
        return projected_[i];
    }

    // Tests each plane of the solid's faces once per piece: the many polygons of a face with holes
    // share one.
    bool no_polygon_enters() {
        std::vector<PieceFaces> faces;
        std::vector<ShadowBox> piece_boxes;
        for (const ConvexPiece& piece : pieces_) {
            faces.push_back(faces_of(piece.solid));
            piece_boxes.push_back(faces.back().box);
        }
        std::vector<PlaneF64> fast;
        for (const Polygon& p : solid_.polygons) fast.push_back(plane_f64(p.plane));
        std::unordered_map<std::size_t, bool> cuts;  // by piece and face of the solid
        return all_pairs(polygon_boxes_, piece_boxes, [&](std::size_t q, std::size_t k) {
            const Polygon& polygon = solid_.polygons[q];
            auto [it, added] = cuts.try_emplace(k * map_.face_count + map_.face_of[q]);
            if (added) it->second = plane_cuts(polygon.plane, fast[q], faces[k]);
            return !it->second || !enters(polygon, pieces_[k].solid, faces[k]);
        });
    }

    // The polygon lies in the face's plane, facing the same way.
    bool in_plane_of(const Polygon& polygon, const FaceOfSolid& face) const {
        const Plane& plane = solid_.polygons[face.polygons.front()].plane;
        const Vec3 across = cross(polygon.plane.normal, plane.normal);
        return across[0].is_zero() && across[1].is_zero() && across[2].is_zero() &&
               dot(polygon.plane.normal, plane.normal).sign() > 0 && plane.side(polygon.vertices.front()) == 0;
    }

    bool centre_on_face(const Contact& c, const FaceOfSolid& face) {
        const Vec3 centre = mean(c.polygon.vertices);
        const Points2 at = projected({centre}, *face.frame);
        const FloatVertex in_space = to_float_vertex(centre);
        const ShadowBox point{in_space, in_space};
        for (std::size_t i : face.polygons) {
            if (boxes_meet(polygon_boxes_[i], point) && covers(projected_polygon(i), at)) return true;
        }
        return false;
    }

    // Faces out of one plane's net loops: the outer loops turn `turn`; nothing when holes cannot
    // be given to an outer loop without locating them.
    static bool add_faces(std::vector<std::vector<Vec3>> loops, const Plane& plane, const FramePtr& frame, int turn,
                          const std::string& label, std::vector<FacePtr>& out) {
        std::vector<LoopPtr> outers, holes;
        for (std::vector<Vec3>& loop : loops) {
            const bool outer = loop_turn(loop, *frame) == turn;
            (outer ? outers : holes).push_back(make_loop(std::move(loop), *frame));
        }
        if (outers.size() != 1 && !holes.empty()) return false;
        if (outers.size() == 1) {
            outers.insert(outers.end(), holes.begin(), holes.end());
            out.push_back(make_face(plane, frame, label, std::move(outers)));
            return true;
        }
        for (LoopPtr& loop : outers) out.push_back(make_face(plane, frame, label, {std::move(loop)}));
        return true;
    }

    // Each face of the solid less the contacts on it; faces without contacts as they are.
    bool cut_faces(std::vector<FacePtr>& out) {
        for (const FaceOfSolid& face : faces_) {
            poll_interrupt();  // every face
            const Polygon& first = solid_.polygons[face.polygons.front()];
            if (face.contacts.empty()) {
                for (std::size_t i : face.polygons) {
                    const Polygon& p = solid_.polygons[i];
                    out.push_back(make_face(p.plane, face.frame, p.label, {make_loop(p.vertices, *face.frame)}));
                }
                continue;
            }
            std::vector<SignedLoop> loops;
            for (std::size_t i : face.polygons) {
                if (solid_.polygons[i].label != first.label) return false;
                loops.push_back({&solid_.polygons[i].vertices, +1});
            }
            for (const Contact* c : face.contacts) loops.push_back({&c->polygon.vertices, -1});
            std::optional<std::vector<std::vector<Vec3>>> net = net_loops(loops, *face.frame);
            if (!net || net->empty()) return false;
            if (!add_faces(std::move(*net), first.plane, face.frame, face.turn, first.label, out)) return false;
        }
        return true;
    }

    // The pieces' plain faces turned over, added up plane by plane. A plane's net faces must face
    // one way: all its polygons do, or what is left of them are loops that all turn one way, which
    // are then the outer loops of faces facing that way (a hole would need an outer loop turning
    // the other way). The faces take the label of the polygons facing their way, which must have
    // one: it then covers most of every region (those facing the other way count against it).
    bool new_faces(std::vector<FacePtr>& out) {
        struct Group {
            FramePtr frame;
            std::vector<SignedLoop> loops;
            std::array<const Polygon*, 2> first{nullptr, nullptr};  // per turn of the turned face: −1, +1
            bool mixed_labels[2] = {false, false};
        };
        std::unordered_map<PlaneKey4, Group, PlaneKey4Hash> groups;
        std::unordered_set<PlaneKey4, PlaneKey4Hash> planes_of_solid;
        for (const FaceOfSolid& face : faces_) planes_of_solid.insert(face.frame->key);
        for (const ConvexPiece& piece : pieces_) {
            for (std::size_t i = 0; i < piece.solid.polygons.size(); ++i) {
                if (piece.roles[i] != FaceRole::kPlain) continue;
                const Polygon& p = piece.solid.polygons[i];
                FramePtr frame = frame_of(p.plane);
                Group& g = groups[frame->key];
                if (!g.frame) g.frame = std::move(frame);
                const int turned = -p.plane.normal[g.frame->axis].sign();
                const Polygon*& first = g.first[turned > 0];
                if (!first) first = &p;
                g.mixed_labels[turned > 0] = g.mixed_labels[turned > 0] || p.label != first->label;
                g.loops.push_back({&p.vertices, -1});  // turned over
            }
        }
        for (auto& [key, g] : groups) {
            poll_interrupt();  // every plane
            g.loops = uncancelled(std::move(g.loops));
            if (g.loops.empty()) continue;
            // One polygon alone is its own net loop, turned over.
            const std::vector<Vec3>& alone = *g.loops.front().points;
            std::optional<std::vector<std::vector<Vec3>>> net =
                g.loops.size() == 1 ? std::vector<std::vector<Vec3>>{{alone.rbegin(), alone.rend()}}
                                    : net_loops(g.loops, *g.frame);
            if (!net) return false;
            if (net->empty()) continue;
            if (planes_of_solid.contains(key)) return false;
            int turn = g.first[1] ? 1 : -1;
            if (g.first[0] && g.first[1]) {
                turn = loop_turn(net->front(), *g.frame);
                for (const std::vector<Vec3>& loop : *net) {
                    if (loop_turn(loop, *g.frame) != turn) return false;
                }
            }
            const Polygon* facing = g.first[turn > 0];
            if (g.mixed_labels[turn > 0]) return false;
            const Plane plane = facing->plane.flipped();
            if (!add_faces(std::move(*net), plane, g.frame, turn, facing->label, out)) return false;
        }
        return true;
    }

    const Solid& solid_;
    const EdgeMap& map_;
    const std::vector<ConvexPiece>& pieces_;
    const Body* body_;
    std::vector<FaceOfSolid> faces_;
    std::vector<const ConvexPiece*> without_contacts_;
    std::vector<ShadowBox> polygon_boxes_;
    std::vector<Points2> projected_;
    std::unordered_map<PlaneKey4, FramePtr, PlaneKey4Hash> frames_;
    std::unordered_map<Plane, FramePtr, PlaneHash, PlaneEqual> frame_by_plane_;
};

}  // namespace

std::optional<Body> remove_local_pieces(const Solid& solid, const EdgeMap& map, const std::vector<ConvexPiece>& pieces,
                                        const Body* body) {
    if (!solid.merged_form) return std::nullopt;
    std::vector<const Solid*> solids;
    solids.reserve(pieces.size());
    for (const ConvexPiece& piece : pieces) solids.push_back(&piece.solid);
    if (!pieces_apart(solids)) return std::nullopt;
    return Removal(solid, map, pieces, body).run();
}

}  // namespace brevant
