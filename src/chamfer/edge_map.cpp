#include "chamfer/edge_map.hpp"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "chamfer/face_planes.hpp"
#include "chamfer/polygon_sets.hpp"
#include "exact/interrupt.hpp"
#include "solid/line_key.hpp"

namespace brevant {
namespace {

struct LineSide {
    std::size_t polygon;
    Rational lo;
    Rational hi;
    bool forward;
    Vec3 from;  // the side as its polygon runs it
    Vec3 to;
};

struct Line {
    Vec3 dir;
    Vec3 moment;
    std::vector<LineSide> sides;
};

struct LineHash {
    std::size_t operator()(const std::pair<Vec3, Vec3>& line) const {
        std::size_t h = 0;
        for (const Vec3* v : {&line.first, &line.second}) {
            for (const Rational& c : *v) h = h * 31 + c.hash();
        }
        return h;
    }
};

struct PolygonFacts {
    Plane outward;
    PlaneKey key;  // canonical, orientation-free
    OrientedKey oriented;
};

Vec3 point_on(const LineSide& side, const Vec3& dir, const Rational& t) {
    return add(side.from, smul((t - dot(side.from, dir)) / dot(dir, dir), dir));
}

std::vector<Rational> stretch_ends(const std::vector<LineSide>& sides) {
    std::vector<Rational> ends;
    for (const LineSide& s : sides) {
        ends.push_back(s.lo);
        ends.push_back(s.hi);
    }
    std::sort(ends.begin(), ends.end());
    ends.erase(std::unique(ends.begin(), ends.end()), ends.end());
    return ends;
}

// What one stretch of a line is, given the sides covering it.
struct Stretch {
    enum Kind { kNone, kEdge, kIrregular } kind = kNone;
    const LineSide* a = nullptr;
    const LineSide* b = nullptr;
    bool convex = false;
    const char* reason = nullptr;
};

Stretch classify(const std::vector<const LineSide*>& covering, const std::vector<PolygonFacts>& facts) {
    std::vector<const PlaneKey*> planes;
    for (const LineSide* s : covering) {
        const PlaneKey& key = facts[s->polygon].key;
        if (std::none_of(planes.begin(), planes.end(), [&](const PlaneKey* k) { return *k == key; })) {
            planes.push_back(&key);
        }
    }
    if (planes.size() < 2) return {};
    if (planes.size() > 2 || covering.size() > 2) {
        return {Stretch::kIrregular, nullptr, nullptr, false, "more than two faces meet along an edge there"};
    }
    const LineSide& a = *covering[0];
    const LineSide& b = *covering[1];
    if (a.forward == b.forward) {
        return {Stretch::kIrregular, nullptr, nullptr, false,
                "the faces along an edge there are not consistently oriented"};
    }
    // Into face A from the edge: N_A × (side direction) points into the polygon's loop.
    const Vec3 into_a = cross(facts[a.polygon].outward.normal, sub(a.to, a.from));
    const bool convex = dot(facts[b.polygon].outward.normal, into_a).sign() < 0;
    return {Stretch::kEdge, &a, &b, convex, nullptr};
}

bool same_faces(const Stretch& x, const Stretch& y, const std::vector<PolygonFacts>& facts) {
    const PlaneKey& xa = facts[x.a->polygon].key;
    const PlaneKey& xb = facts[x.b->polygon].key;
    const PlaneKey& ya = facts[y.a->polygon].key;
    const PlaneKey& yb = facts[y.b->polygon].key;
    return x.convex == y.convex && ((xa == ya && xb == yb) || (xa == yb && xb == ya));
}

// Faces in one oriented plane whose sides run against each other over a stretch are one face.
void join_faces(const std::vector<const LineSide*>& covering, const std::vector<PolygonFacts>& facts,
                PolygonSets& faces) {
    for (std::size_t i = 0; i < covering.size(); ++i) {
        for (std::size_t j = i + 1; j < covering.size(); ++j) {
            const LineSide& x = *covering[i];
            const LineSide& y = *covering[j];
            if (x.forward != y.forward && facts[x.polygon].oriented == facts[y.polygon].oriented) {
                faces.unite(x.polygon, y.polygon);
            }
        }
    }
}

void walk_line(const Line& line, const std::vector<PolygonFacts>& facts, PolygonSets& faces, EdgeMap& map) {
    const std::vector<Rational> ends = stretch_ends(line.sides);
    std::optional<Segment> open;
    Stretch open_stretch;
    auto close = [&] {
        if (open) map.segments.push_back(std::move(*open));
        open.reset();
    };
    for (std::size_t k = 0; k + 1 < ends.size(); ++k) {
        poll_interrupt();  // every stretch of every line
        std::vector<const LineSide*> covering;
        for (const LineSide& s : line.sides) {
            if (s.lo <= ends[k] && ends[k + 1] <= s.hi) covering.push_back(&s);
        }
        join_faces(covering, facts, faces);
        const Stretch stretch = classify(covering, facts);
        if (stretch.kind == Stretch::kIrregular && !map.irregular) {
            map.irregular = Irregularity{point_on(*covering[0], line.dir, ends[k]), stretch.reason};
        }
        if (stretch.kind != Stretch::kEdge) {
            close();
            continue;
        }
        Vec3 end = point_on(*stretch.a, line.dir, ends[k + 1]);
        if (open && same_faces(open_stretch, stretch, facts)) {
            open->joints.push_back(std::move(open->end));
            open->end = std::move(end);
            continue;
        }
        close();
        open = Segment{point_on(*stretch.a, line.dir, ends[k]),
                       std::move(end),
                       line.dir,
                       stretch.convex,
                       {facts[stretch.a->polygon].outward, stretch.a->polygon},
                       {facts[stretch.b->polygon].outward, stretch.b->polygon},
                       {}};
        open_stretch = stretch;
    }
    close();
}

}  // namespace

EdgeMap map_edges(const Solid& solid) {
    std::vector<PolygonFacts> facts;
    facts.reserve(solid.polygons.size());
    // Sides gather by their line's direction and moment; the lines are then walked in the order
    // of their keys, written once per line.
    std::unordered_map<std::pair<Vec3, Vec3>, std::size_t, LineHash> line_index;
    std::vector<Line> lines;
    for (std::size_t i = 0; i < solid.polygons.size(); ++i) {
        poll_interrupt();  // every polygon
        const Polygon& polygon = solid.polygons[i];
        Plane outward = outward_plane(polygon);
        PlaneKey key = outward.canonical();
        OrientedKey oriented = oriented_key(outward);
        facts.push_back({std::move(outward), std::move(key), std::move(oriented)});
        const std::vector<Vec3>& v = polygon.vertices;
        for (std::size_t j = 0; j < v.size(); ++j) {
            const Vec3& from = v[j];
            const Vec3& to = v[(j + 1) % v.size()];
            std::optional<SideOnLine> side = side_on_unnamed_line(from, to);
            if (!side) continue;
            const auto [it, added] = line_index.try_emplace({side->dir, side->moment}, lines.size());
            if (added) lines.push_back({std::move(side->dir), std::move(side->moment), {}});
            lines[it->second].sides.push_back({i, std::move(side->lo), std::move(side->hi), side->forward, from, to});
        }
    }
    std::vector<std::pair<std::string, const Line*>> in_key_order;
    in_key_order.reserve(lines.size());
    for (const Line& line : lines) in_key_order.emplace_back(line_key(line.dir, line.moment), &line);
    std::sort(in_key_order.begin(), in_key_order.end());

    EdgeMap map;
    PolygonSets faces(solid.polygons.size());
    for (const auto& [key, line] : in_key_order) walk_line(*line, facts, faces, map);

    std::map<std::size_t, std::size_t> face_index;
    map.face_of.reserve(solid.polygons.size());
    for (std::size_t i = 0; i < solid.polygons.size(); ++i) {
        const auto [it, added] = face_index.emplace(faces.find(i), face_index.size());
        map.face_of.push_back(it->second);
    }
    map.face_count = face_index.size();
    return map;
}

}  // namespace brevant
