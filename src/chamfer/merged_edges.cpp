#include "chamfer/merged_edges.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "exact/direction.hpp"
#include "exact/failure.hpp"
#include "exact/interrupt.hpp"
#include "chamfer/polygon_sets.hpp"
#include "chamfer/triple_sign.hpp"

namespace brevant {
namespace {

// A polygon side, filed under its lesser vertex (by rank): the greater one, the polygon, and
// whether the polygon runs it from the lesser to the greater.
struct Side {
    std::uint32_t hi;
    std::uint32_t polygon;
    bool ascending;
};

struct RankedStretch {
    std::uint32_t from;  // vertex ranks, from < to
    std::uint32_t to;
    std::uint32_t poly_a;  // runs from → to
    std::uint32_t poly_b;
    bool convex;
};

// The vertices numbered by rank in point order, and each polygon's loop as ranks.
struct Vertices {
    std::vector<Vec3> points;  // by rank
    std::vector<Shadow> shadows;
    std::vector<std::uint32_t> ranks;       // every polygon's loop in turn
    std::vector<std::size_t> loop_start;    // per polygon, and the end of the last
};

// A vertex's shadow, and which of its coordinates the shadow holds exactly (bit k for coordinate
// k), so that equal shadows there prove equal coordinates without reading the exact values.
struct OrderKey {
    std::array<double, 3> v;
    unsigned exact;
    std::uint32_t vertex;
};

// An inline n/2^k with |n| <= 2^53 is a double exactly: 53 bits of mantissa hold n, and k <= 62
// keeps it far from the subnormals.
bool double_holds(const Rational& r) {
    if (!r.is_inline()) return false;
    const std::int64_t n = r.inline_numerator(), d = r.inline_denominator();
    constexpr std::int64_t kMantissa = std::int64_t{1} << 53;
    return (d & (d - 1)) == 0 && n <= kMantissa && n >= -kMantissa;
}

OrderKey order_key(const Vec3& point, const Shadow& shadow, std::uint32_t vertex) {
    unsigned exact = 0;
    for (unsigned k = 0; k < 3; ++k) exact |= double_holds(point[k]) ? 1u << k : 0u;
    return {shadow.v, exact, vertex};
}

// Point order, from the shadows where they differ: rounding to the nearest double keeps order.
// Equal shadows that both hold their coordinates exactly are equal coordinates.
bool key_less(const OrderKey& a, const OrderKey& b, const std::vector<const Vec3*>& points) {
    for (std::size_t k = 0; k < 3; ++k) {
        if (a.v[k] != b.v[k] && std::isfinite(a.v[k]) && std::isfinite(b.v[k])) return a.v[k] < b.v[k];
        if (a.v[k] == b.v[k] && (a.exact & b.exact & (1u << k))) continue;
        const Rational& p = (*points[a.vertex])[k];
        const Rational& q = (*points[b.vertex])[k];
        if (p != q) return p < q;
    }
    return false;
}

// Distinct vertices numbered by first appearance: an open-addressing table hashed on the shadows
// (equal points have equal shadows), the exact points deciding equality.
class VertexNumbers {
public:
    std::uint32_t intern(const Vec3& point, const FloatVertex& shadow) {
        if (2 * (points_.size() + 1) > slots_.size()) grow();
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t i = hash(shadow) & mask;; i = (i + 1) & mask) {
            if (slots_[i] < 0) {
                slots_[i] = static_cast<std::int64_t>(points_.size());
                points_.push_back(&point);
                shadows_.push_back(shadow);
                return static_cast<std::uint32_t>(points_.size() - 1);
            }
            const auto n = static_cast<std::size_t>(slots_[i]);
            if (shadows_[n] == shadow && *points_[n] == point) return static_cast<std::uint32_t>(n);
        }
    }
    const std::vector<const Vec3*>& points() const { return points_; }

private:
    static std::size_t hash(const FloatVertex& v) {
        // Coordinates that are small integers have no low mantissa bits: mix every bit into the
        // low ones the table's mask keeps (the finaliser of MurmurHash3).
        std::uint64_t h = 0;
        for (double c : v) {
            std::uint64_t bits;
            std::memcpy(&bits, &c, sizeof bits);
            h = (h ^ bits) * 0x9e3779b97f4a7c15ULL;
            h ^= h >> 33;
        }
        h *= 0xff51afd7ed558ccdULL;
        h ^= h >> 33;
        h *= 0xc4ceb9fe1a85ec53ULL;
        return static_cast<std::size_t>(h ^ (h >> 33));
    }
    void grow() {
        slots_.assign(slots_.empty() ? 64 : 2 * slots_.size(), -1);
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t n = 0; n < shadows_.size(); ++n) {
            std::size_t i = hash(shadows_[n]) & mask;
            while (slots_[i] >= 0) i = (i + 1) & mask;
            slots_[i] = static_cast<std::int64_t>(n);
        }
    }

    std::vector<std::int64_t> slots_;  // −1 for empty
    std::vector<const Vec3*> points_;
    std::vector<FloatVertex> shadows_;
};

Vertices rank_vertices(const Solid& solid) {
    VertexNumbers numbers;
    std::vector<std::uint32_t> ranks;
    std::vector<std::size_t> loop_start{0};
    for (std::size_t p = 0; p < solid.polygons.size(); ++p) {
        if (p % 64 == 0) poll_interrupt();  // every 64 polygons
        const Polygon& polygon = solid.polygons[p];
        for (std::size_t i = 0; i < polygon.vertices.size(); ++i) {
            ranks.push_back(numbers.intern(polygon.vertices[i], polygon.float_vertices[i]));
        }
        loop_start.push_back(ranks.size());
    }
    const std::vector<const Vec3*>& points = numbers.points();
    std::vector<Shadow> shadows;
    shadows.reserve(points.size());
    std::vector<OrderKey> order;
    order.reserve(points.size());
    for (std::uint32_t i = 0; i < points.size(); ++i) {
        shadows.push_back(shadow_of(*points[i]));
        order.push_back(order_key(*points[i], shadows.back(), i));
    }
    // Where every coordinate is a double exactly (integer and dyadic parts), the doubles alone
    // give the order.
    if (std::all_of(order.begin(), order.end(), [](const OrderKey& k) { return k.exact == 7u; })) {
        std::sort(order.begin(), order.end(), [](const OrderKey& a, const OrderKey& b) {
            if (a.v[0] != b.v[0]) return a.v[0] < b.v[0];
            return a.v[1] != b.v[1] ? a.v[1] < b.v[1] : a.v[2] < b.v[2];
        });
    } else {
        std::sort(order.begin(), order.end(), [&](const OrderKey& a, const OrderKey& b) { return key_less(a, b, points); });
    }
    std::vector<std::uint32_t> rank(points.size());
    Vertices out;
    out.points.reserve(points.size());
    out.shadows.reserve(points.size());
    for (std::size_t r = 0; r < order.size(); ++r) {
        const std::uint32_t vertex = order[r].vertex;
        rank[vertex] = static_cast<std::uint32_t>(r);
        out.points.push_back(*points[vertex]);
        out.shadows.push_back(shadows[vertex]);
    }
    for (std::uint32_t& v : ranks) v = rank[v];
    out.ranks = std::move(ranks);
    out.loop_start = std::move(loop_start);
    return out;
}

// The sides filed under their lesser vertex: sides[first[v] .. first[v + 1]) for vertex v, in
// order of their greater vertex and then their polygon.
struct FiledSides {
    std::vector<std::size_t> first;
    std::vector<Side> sides;
};

FiledSides file_sides(const Vertices& vertices) {
    FiledSides out;
    out.first.assign(vertices.points.size() + 1, 0);
    const auto each_side = [&](auto&& take) {
        for (std::size_t p = 0; p + 1 < vertices.loop_start.size(); ++p) {
            const std::uint32_t* loop = vertices.ranks.data() + vertices.loop_start[p];
            const std::size_t n = vertices.loop_start[p + 1] - vertices.loop_start[p];
            for (std::size_t i = 0; i < n; ++i) {
                const std::uint32_t u = loop[i], v = loop[(i + 1) % n];
                if (u != v) take(std::min(u, v), Side{std::max(u, v), static_cast<std::uint32_t>(p), u < v});
            }
        }
    };
    each_side([&](std::uint32_t lo, const Side&) { ++out.first[lo + 1]; });
    for (std::size_t v = 0; v < vertices.points.size(); ++v) out.first[v + 1] += out.first[v];
    out.sides.resize(out.first.back());
    std::vector<std::size_t> next(out.first.begin(), out.first.end() - 1);
    each_side([&](std::uint32_t lo, const Side& side) { out.sides[next[lo]++] = side; });
    for (std::size_t v = 0; v < vertices.points.size(); ++v) {
        std::sort(out.sides.begin() + static_cast<std::ptrdiff_t>(out.first[v]),
                  out.sides.begin() + static_cast<std::ptrdiff_t>(out.first[v + 1]), [](const Side& x, const Side& y) {
                      return x.hi != y.hi ? x.hi < y.hi : x.polygon < y.polygon;
                  });
    }
    return out;
}

class Finder {
public:
    Finder(const Solid& solid, Vertices vertices)
        : solid_(solid), vertices_(std::move(vertices)), faces_(solid.polygons.size()) {
        normals_.reserve(solid.polygons.size());
        for (const Polygon& p : solid.polygons) normals_.push_back(shadow_of(p.plane.normal));
    }

    MergedEdges run() {
        match_sides();
        MergedEdges out;
        number_faces(out.map);
        build_segments(out);
        if (irregular_) out.map.irregular = irregularity();
        out.points = std::move(vertices_.points);
        return out;
    }

    EdgeOutline outline() {
        match_sides();
        EdgeOutline out;
        const std::vector<Chain> found = chains();
        out.segments.reserve(found.size());
        for (const auto& [first, last] : found) {
            const RankedStretch& head = stretches_[first];
            out.segments.push_back({head.from, stretches_[last].to, head.poly_a, head.poly_b, head.convex});
        }
        if (irregular_) out.irregular = irregularity();
        out.points = std::move(vertices_.points);
        return out;
    }

private:
    using Chain = std::pair<std::size_t, std::size_t>;  // the first and last stretch of a segment

    void match_sides() {
        const FiledSides filed = file_sides(vertices_);
        for (std::uint32_t lo = 0; lo < vertices_.points.size(); ++lo) {
            if (lo % 64 == 0) poll_interrupt();  // every 64 vertices
            const std::size_t end = filed.first[lo + 1];
            for (std::size_t i = filed.first[lo]; i < end;) {
                std::size_t j = i + 1;
                while (j < end && filed.sides[j].hi == filed.sides[i].hi) ++j;
                take_group(lo, &filed.sides[i], j - i);
                i = j;
            }
        }
    }

    Irregularity irregularity() const { return {vertices_.points[irregular_->first], irregular_->second}; }

    void mark(std::uint32_t at, const char* reason) {
        if (!irregular_ || at < irregular_->first) irregular_ = {at, reason};
    }

    // The sides from vertex lo to one vertex hi.
    void take_group(std::uint32_t lo, const Side* group, std::size_t count) {
        const std::uint32_t hi = group[0].hi;
        if (count == 1) return mark(lo, "the solid is open along an edge there");
        if (count > 2) return mark(lo, "more than two faces meet along an edge there");
        const Side& s = group[0];
        const Side& t = group[1];
        if (s.ascending == t.ascending) return mark(lo, "the faces along an edge there are not consistently oriented");
        const std::uint32_t a = s.ascending ? s.polygon : t.polygon;
        const std::uint32_t b = s.ascending ? t.polygon : s.polygon;
        const Vec3& na = solid_.polygons[a].plane.normal;
        const Vec3& nb = solid_.polygons[b].plane.normal;
        if (na == nb) return faces_.unite(a, b);  // polygons of one face, split where it has holes
        // Into face a from the edge, N_a × (the side as a runs it) points into a's loop; the edge is
        // convex where that leads behind b. Both normals are perpendicular to the side, so the
        // triple product is zero exactly when they are parallel: the two polygons share a plane.
        const int turn = triple_sign(nb, normals_[b], na, normals_[a], vertices_.points[hi], vertices_.shadows[hi],
                                     vertices_.points[lo], vertices_.shadows[lo]);
        if (turn == 0) {
            if (dot(na, nb).sign() < 0) return mark(lo, "two faces meet back to back along an edge there");
            return faces_.unite(a, b);  // one face split by the merge
        }
        stretches_.push_back({lo, hi, a, b, turn < 0});
    }

    void number_faces(EdgeMap& map) {
        std::vector<std::int64_t> number(solid_.polygons.size(), -1);
        map.face_of.reserve(solid_.polygons.size());
        for (std::uint32_t p = 0; p < solid_.polygons.size(); ++p) {
            std::int64_t& n = number[faces_.find(p)];
            if (n < 0) n = static_cast<std::int64_t>(map.face_count++);
            map.face_of.push_back(static_cast<std::size_t>(n));
        }
    }

    // Stretches joined where one ends and the next, between the same two faces, begins; in order
    // of (start, end).
    std::vector<Chain> chains() {
        // The stretches came in order of (from, to), as the sides were filed.
        std::vector<std::size_t> first_from(vertices_.points.size() + 1, stretches_.size());
        for (std::size_t k = stretches_.size(); k-- > 0;) first_from[stretches_[k].from] = k;
        for (std::size_t v = vertices_.points.size(); v-- > 0;) first_from[v] = std::min(first_from[v], first_from[v + 1]);
        const auto next_of = [&](const RankedStretch& s) -> std::optional<std::size_t> {
            for (std::size_t k = first_from[s.to]; k < stretches_.size() && stretches_[k].from == s.to; ++k) {
                if (same_faces(stretches_[k], s)) return k;
            }
            return std::nullopt;
        };
        std::vector<char> continues(stretches_.size(), 0);
        next_.assign(stretches_.size(), std::nullopt);
        for (std::size_t k = 0; k < stretches_.size(); ++k) {
            next_[k] = next_of(stretches_[k]);
            if (next_[k]) continues[*next_[k]] = 1;
        }
        std::vector<Chain> chains;
        for (std::size_t k = 0; k < stretches_.size(); ++k) {
            if (continues[k]) continue;
            std::size_t last = k;
            while (next_[last]) last = *next_[last];
            chains.emplace_back(k, last);
        }
        // The heads came in order of their first vertex, as the stretches did: only chains that
        // start at one vertex need ordering, by the vertex where they end.
        for (std::size_t i = 0; i < chains.size();) {
            std::size_t j = i + 1;
            while (j < chains.size() && stretches_[chains[j].first].from == stretches_[chains[i].first].from) ++j;
            std::sort(chains.begin() + static_cast<std::ptrdiff_t>(i), chains.begin() + static_cast<std::ptrdiff_t>(j),
                      [&](const auto& x, const auto& y) { return stretches_[x.second].to < stretches_[y.second].to; });
            i = j;
        }
        return chains;
    }

    void build_segments(MergedEdges& out) {
        EdgeMap& map = out.map;
        const std::vector<Chain> chains = this->chains();
        map.segments.reserve(chains.size());
        out.ends.reserve(chains.size());
        for (const auto& [first, last] : chains) {
            if (map.segments.size() % 256 == 0) poll_interrupt();  // every 256 segments
            const RankedStretch& head = stretches_[first];
            Segment segment{vertices_.points[head.from], vertices_.points[stretches_[last].to],
                            {Rational(), Rational(), Rational()}, head.convex,
                            {solid_.polygons[head.poly_a].plane, head.poly_a},
                            {solid_.polygons[head.poly_b].plane, head.poly_b}, {}};
            for (std::size_t k = first; k != last; k = *next_[k]) segment.joints.push_back(vertices_.points[stretches_[*next_[k]].from]);
            map.segments.push_back(std::move(segment));
            out.ends.push_back({head.from, stretches_[last].to});
        }
    }

    bool same_faces(const RankedStretch& x, const RankedStretch& y) {
        return faces_.find(x.poly_a) == faces_.find(y.poly_a) && faces_.find(x.poly_b) == faces_.find(y.poly_b);
    }

    const Solid& solid_;
    Vertices vertices_;
    PolygonSets faces_;
    std::vector<Shadow> normals_;  // per polygon
    std::vector<RankedStretch> stretches_;
    std::optional<std::pair<std::uint32_t, const char*>> irregular_;
    std::vector<std::optional<std::size_t>> next_;  // per stretch: the one its segment goes on with (chains())
};

}  // namespace

bool point_less(const Vec3& a, const Vec3& b) {
    for (std::size_t k = 0; k < 3; ++k) {
        if (a[k] != b[k]) return a[k] < b[k];
    }
    return false;
}

MergedEdges find_merged_edges(const Solid& merged) { return Finder(merged, rank_vertices(merged)).run(); }

EdgeOutline outline_merged_edges(const Solid& merged) { return Finder(merged, rank_vertices(merged)).outline(); }

void add_directions(EdgeMap& map) {
    for (Segment& s : map.segments) {
        poll_interrupt();  // every segment
        std::optional<Vec3> d = canon_dir(sub(s.end, s.start));
        if (!d) throw InternalFailure("chamfer: an edge of zero length");
        s.dir = std::move(*d);
    }
}

}  // namespace brevant
