#include "chamfer/local_removal.hpp"

#include <algorithm>
#include <array>
#include <limits>
#include <numeric>
#include <unordered_map>
#include <unordered_set>

#include "arrangement/orientation.hpp"
#include "boolean/split.hpp"
#include "chamfer/cut_away.hpp"
#include "chamfer/net_boundary.hpp"
#include "corefine/point_location.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

using FramePtr = std::shared_ptr<const PlaneFrame>;

// Boxes of double shadows. Rounding keeps order, so exact boxes that meet have shadow boxes that
// meet (closed).
struct ShadowBox {
    std::array<double, 3> lo, hi;
};

ShadowBox box_of(const std::vector<FloatVertex>& points) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    ShadowBox box{{inf, inf, inf}, {-inf, -inf, -inf}};
    for (const FloatVertex& v : points) {
        for (std::size_t k = 0; k < 3; ++k) {
            box.lo[k] = std::min(box.lo[k], v[k]);
            box.hi[k] = std::max(box.hi[k], v[k]);
        }
    }
    return box;
}

bool boxes_meet(const ShadowBox& a, const ShadowBox& b) {
    for (std::size_t k = 0; k < 3; ++k) {
        if (a.hi[k] < b.lo[k] || b.hi[k] < a.lo[k]) return false;
    }
    return true;
}

// Calls meet(i, j) for each i of `a` and j of `b` whose boxes meet, by a sweep along x; stops at
// the first call that returns false, and returns false then.
template <class Meet>
bool all_pairs(const std::vector<ShadowBox>& a, const std::vector<ShadowBox>& b, Meet meet) {
    struct Item {
        double lo;
        std::size_t index;
        bool from_a;
    };
    std::vector<Item> items;
    items.reserve(a.size() + b.size());
    for (std::size_t i = 0; i < a.size(); ++i) items.push_back({a[i].lo[0], i, true});
    for (std::size_t j = 0; j < b.size(); ++j) items.push_back({b[j].lo[0], j, false});
    std::sort(items.begin(), items.end(), [](const Item& x, const Item& y) { return x.lo < y.lo; });
    std::vector<std::size_t> open_a, open_b;
    for (const Item& item : items) {
        poll_interrupt();  // every box
        const std::vector<ShadowBox>& others = item.from_a ? b : a;
        std::vector<std::size_t>& open = item.from_a ? open_b : open_a;
        std::erase_if(open, [&](std::size_t k) { return others[k].hi[0] < item.lo; });
        const ShadowBox& box = item.from_a ? a[item.index] : b[item.index];
        for (std::size_t k : open) {
            if (!boxes_meet(box, others[k])) continue;
            if (!(item.from_a ? meet(item.index, k) : meet(k, item.index))) return false;
        }
        (item.from_a ? open_a : open_b).push_back(item.index);
    }
    return true;
}

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

// Points of a plane in its frame, with their shadows.
struct Points2 {
    std::vector<Point2> exact;
    std::vector<FloatPoint> shadows;
};

Points2 projected(const std::vector<Vec3>& points, const PlaneFrame& frame) {
    Points2 out;
    out.exact.reserve(points.size());
    out.shadows.reserve(points.size());
    for (const Vec3& p : points) {
        out.exact.push_back(frame.project(p));
        out.shadows.push_back(shadow(out.exact.back()));
    }
    return out;
}

// The order of two numbers from their shadows where those differ (rounding keeps order), else
// exactly.
int compare(const Rational& a, const Rational& b, double fa, double fb) {
    if (fa != fb) return fa < fb ? -1 : 1;
    const auto c = a <=> b;
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// The sign of orient2(a, b, c) (a, b points i and j of s, c point k of t). Sides along a coordinate
// axis, most sides here, need comparisons alone: with b0 = a0 it is −sign(b1 − a1)·sign(c0 − a0),
// with b1 = a1 it is sign(b0 − a0)·sign(c1 − a1).
int orient(const Points2& s, std::size_t i, std::size_t j, const Points2& t, std::size_t k) {
    const Point2& a = s.exact[i];
    const Point2& b = s.exact[j];
    const Point2& c = t.exact[k];
    const FloatPoint& fa = s.shadows[i];
    const FloatPoint& fb = s.shadows[j];
    const FloatPoint& fc = t.shadows[k];
    if (compare(a[0], b[0], fa[0], fb[0]) == 0) return -compare(b[1], a[1], fb[1], fa[1]) * compare(c[0], a[0], fc[0], fa[0]);
    if (compare(a[1], b[1], fa[1], fb[1]) == 0) return compare(b[0], a[0], fb[0], fa[0]) * compare(c[1], a[1], fc[1], fa[1]);
    return orient_sign(a, b, c, fa, fb, fc);
}

// Whether the segment from point i to point j of `ends` meets the inside of the convex polygon
// (corners in order, turning `turn`): two convex sets are apart exactly when a line along a side
// of one separates them.
bool crosses_inside(const Points2& ends, const Points2& convex, int turn) {
    const std::size_t n = convex.exact.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        if (orient(convex, i, j, ends, 0) * turn <= 0 && orient(convex, i, j, ends, 1) * turn <= 0) return false;
    }
    bool left = false, right = false;
    for (std::size_t k = 0; k < n; ++k) {
        const int s = orient(ends, 0, 1, convex, k);
        left = left || s > 0;
        right = right || s < 0;
    }
    return left && right;
}

// Whether x (the one point of `at`) lies in the polygon or on its boundary (winding number, exactly).
bool covers(const Points2& loop, const Points2& at) {
    const Point2& x = at.exact[0];
    const FloatPoint& fx = at.shadows[0];
    int winding = 0;
    const std::size_t n = loop.exact.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        const Point2& a = loop.exact[i];
        const Point2& b = loop.exact[j];
        const int av = compare(a[1], x[1], loop.shadows[i][1], fx[1]);
        const int bv = compare(b[1], x[1], loop.shadows[j][1], fx[1]);
        if (av * bv > 0) continue;  // both above or both below
        const int side = orient(loop, i, j, at, 0);
        if (side == 0 && std::min(a[0], b[0]) <= x[0] && x[0] <= std::max(a[0], b[0])) return true;
        if (av <= 0 && bv > 0 && side > 0) ++winding;
        if (av > 0 && bv <= 0 && side < 0) --winding;
    }
    return winding != 0;
}

// Whether b runs through a's points the other way round.
bool reversed_loops(const std::vector<Vec3>& a, const std::vector<Vec3>& b) {
    const std::size_t n = a.size();
    if (b.size() != n) return false;
    const std::size_t r = static_cast<std::size_t>(std::find(b.begin(), b.end(), a[0]) - b.begin());
    if (r == n) return false;
    for (std::size_t i = 1; i < n; ++i) {
        if (!(a[i] == b[(r + n - i) % n])) return false;
    }
    return true;
}

// The loops less those that another loop runs the other way (faces two pieces share, whose sides
// would cancel in the sum anyway): found by a hash of their point sets.
std::vector<SignedLoop> uncancelled(std::vector<SignedLoop> loops) {
    if (loops.size() < 2) return loops;
    std::unordered_map<std::size_t, std::vector<std::size_t>> by_points;
    std::vector<char> gone(loops.size(), 0);
    for (std::size_t i = 0; i < loops.size(); ++i) {
        std::size_t h = 0;
        for (const Vec3& v : *loops[i].points) h += (v[0].hash() * 31 + v[1].hash()) * 31 + v[2].hash();
        std::vector<std::size_t>& same = by_points[h];
        const auto partner = std::find_if(same.begin(), same.end(), [&](std::size_t j) {
            return !gone[j] && reversed_loops(*loops[j].points, *loops[i].points);
        });
        if (partner == same.end()) {
            same.push_back(i);
            continue;
        }
        gone[i] = gone[*partner] = 1;
    }
    std::vector<SignedLoop> kept;
    for (std::size_t i = 0; i < loops.size(); ++i) {
        if (!gone[i]) kept.push_back(loops[i]);
    }
    return kept;
}

struct PlaneHash {
    std::size_t operator()(const Plane& p) const {
        return ((p.normal[0].hash() * 31 + p.normal[1].hash()) * 31 + p.normal[2].hash()) * 31 + p.offset.hash();
    }
};
struct PlaneEqual {
    bool operator()(const Plane& p, const Plane& q) const { return p.normal == q.normal && p.offset == q.offset; }
};

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
    // one point each, their vertices' mean, which lies inside them and so on no face.
    bool pieces_without_contacts_inside() {
        if (without_contacts_.empty()) return true;
        std::optional<Body> own;
        const Body& body = body_ ? *body_ : own.emplace(body_of(solid_));
        for (const ConvexPiece* piece : without_contacts_) {
            Vec3 sum{Rational(), Rational(), Rational()};
            long count = 0;
            for (const Polygon& p : piece->solid.polygons) {
                for (const Vec3& v : p.vertices) sum = add(sum, v);
                count += static_cast<long>(p.vertices.size());
            }
            const Rational n(count);
            if (!inside_body(body, {sum[0] / n, sum[1] / n, sum[2] / n})) return false;
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
        if (projected_[i].exact.empty()) projected_[i] = projected(solid_.polygons[i].vertices, *faces_[map_.face_of[i]].frame);
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
        const std::vector<Vec3>& v = c.polygon.vertices;
        Vec3 sum = v.front();
        for (std::size_t i = 1; i < v.size(); ++i) sum = add(sum, v[i]);
        const Rational n(static_cast<long>(v.size()));
        const Vec3 centre{sum[0] / n, sum[1] / n, sum[2] / n};
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
    // the other way). The faces take the label of the polygons facing their way, which must have one: it
    // then covers most of every region (those facing the other way count against it).
    bool new_faces(std::vector<FacePtr>& out) {
        struct Group {
            FramePtr frame;
            std::vector<SignedLoop> loops;
            std::array<const Polygon*, 2> first{nullptr, nullptr};  // per turn of the turned face: −1, +1
            bool mixed_labels[2] = {false, false};
        };
        std::unordered_map<PlaneKey4, Group, PlaneKey4Hash> groups;
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
            std::optional<std::vector<std::vector<Vec3>>> net =
                g.loops.size() == 1 ? std::vector<std::vector<Vec3>>{{g.loops[0].points->rbegin(), g.loops[0].points->rend()}}
                                    : net_loops(g.loops, *g.frame);
            if (!net) return false;
            if (net->empty()) continue;
            if (solid_planes().contains(key)) return false;
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

    const std::unordered_set<PlaneKey4, PlaneKey4Hash>& solid_planes() {
        if (solid_plane_keys_.empty()) {
            for (const FaceOfSolid& face : faces_) solid_plane_keys_.insert(face.frame->key);
        }
        return solid_plane_keys_;
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
    std::unordered_set<PlaneKey4, PlaneKey4Hash> solid_plane_keys_;
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
