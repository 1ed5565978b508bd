// Boxes, split, BSP tree and boolean recipes on doubles, step for step as in src/boolean, with
// one fixed epsilon in place of the exact decisions. Planes are normalised so that the epsilon is
// a distance.
#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "twin.h"

namespace {

using D3 = std::array<double, 3>;

constexpr double kEps = 1e-9;

D3 sub(const D3& a, const D3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
D3 add(const D3& a, const D3& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
D3 scale(double s, const D3& a) { return {s * a[0], s * a[1], s * a[2]}; }
double dot(const D3& a, const D3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
D3 cross(const D3& a, const D3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

struct Plane {
    D3 n;
    double w;

    static Plane from_points(const D3& a, const D3& b, const D3& c) {
        D3 n = cross(sub(b, a), sub(c, a));
        const double length = std::sqrt(dot(n, n));
        if (length > 0.0) n = scale(1.0 / length, n);
        return {n, dot(n, a)};
    }
    void flip() {
        n = scale(-1.0, n);
        w = -w;
    }
};

struct Polygon {
    std::vector<D3> v;
    Plane plane;

    static Polygon make(std::vector<D3> v) {
        Plane plane = Plane::from_points(v[0], v[1], v[2]);
        return {std::move(v), plane};
    }
    void flip() {
        std::reverse(v.begin(), v.end());
        plane.flip();
    }
};

bool has_area(const std::vector<D3>& v) {
    D3 n{0.0, 0.0, 0.0};
    for (std::size_t i = 1; i + 1 < v.size(); ++i) n = add(n, cross(sub(v[i], v[0]), sub(v[i + 1], v[0])));
    return dot(n, n) > kEps * kEps;
}

using Polygons = std::vector<Polygon>;

void move_append(Polygons& to, Polygons& from) {
    to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
    from.clear();
}

struct Split {
    Polygons coplanar_front, coplanar_back, front, back;
};

void split(const Plane& plane, Polygon polygon, Split& out) {
    const std::size_t n = polygon.v.size();
    std::vector<int> sides(n);
    int polygon_class = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double h = dot(plane.n, polygon.v[i]) - plane.w;
        sides[i] = h > kEps ? 1 : (h < -kEps ? -1 : 0);
        if (sides[i] > 0) polygon_class |= 1;
        if (sides[i] < 0) polygon_class |= 2;
    }
    switch (polygon_class) {
        case 0:
            (dot(plane.n, polygon.plane.n) > 0.0 ? out.coplanar_front : out.coplanar_back).push_back(std::move(polygon));
            return;
        case 1:
            out.front.push_back(std::move(polygon));
            return;
        case 2:
            out.back.push_back(std::move(polygon));
            return;
    }
    std::vector<D3> f, b;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        const D3& vi = polygon.v[i];
        const D3& vj = polygon.v[j];
        if (sides[i] >= 0) f.push_back(vi);
        if (sides[i] <= 0) b.push_back(vi);
        if (sides[i] * sides[j] < 0) {
            const D3 edge = sub(vj, vi);
            const double t = (plane.w - dot(plane.n, vi)) / dot(plane.n, edge);
            const D3 p = add(vi, scale(t, edge));
            f.push_back(p);
            b.push_back(p);
        }
    }
    if (f.size() >= 3 && has_area(f)) out.front.push_back({std::move(f), polygon.plane});
    if (b.size() >= 3 && has_area(b)) out.back.push_back({std::move(b), polygon.plane});
}

struct Node {
    Polygons polygons;
    std::optional<Plane> plane;
    std::unique_ptr<Node> front, back;

    ~Node() {
        std::vector<std::unique_ptr<Node>> doomed;
        if (front) doomed.push_back(std::move(front));
        if (back) doomed.push_back(std::move(back));
        while (!doomed.empty()) {
            std::unique_ptr<Node> node = std::move(doomed.back());
            doomed.pop_back();
            if (node->front) doomed.push_back(std::move(node->front));
            if (node->back) doomed.push_back(std::move(node->back));
        }
    }

    static Node& child(std::unique_ptr<Node>& slot) {
        if (!slot) slot = std::make_unique<Node>();
        return *slot;
    }

    void build(Polygons list) {
        std::vector<std::pair<Node*, Polygons>> work;
        work.emplace_back(this, std::move(list));
        while (!work.empty()) {
            auto [node, polygons] = std::move(work.back());
            work.pop_back();
            if (polygons.empty()) continue;
            if (!node->plane) node->plane = polygons.front().plane;
            Split parts;
            for (Polygon& polygon : polygons) {
                split(*node->plane, std::move(polygon), parts);
                move_append(node->polygons, parts.coplanar_front);
                move_append(node->polygons, parts.coplanar_back);
            }
            if (!parts.back.empty()) work.emplace_back(&child(node->back), std::move(parts.back));
            if (!parts.front.empty()) work.emplace_back(&child(node->front), std::move(parts.front));
        }
    }

    Polygons clip_polygons(Polygons list) const {
        Polygons outside;
        std::vector<std::pair<const Node*, Polygons>> work;
        work.emplace_back(this, std::move(list));
        while (!work.empty()) {
            auto [node, polygons] = std::move(work.back());
            work.pop_back();
            if (!node->plane) {
                move_append(outside, polygons);
                continue;
            }
            Polygons front_list, back_list;
            for (Polygon& polygon : polygons) {
                Split parts;
                split(*node->plane, std::move(polygon), parts);
                move_append(front_list, parts.coplanar_front);
                move_append(back_list, parts.coplanar_back);
                move_append(front_list, parts.front);
                move_append(back_list, parts.back);
            }
            if (node->back && !back_list.empty()) work.emplace_back(node->back.get(), std::move(back_list));
            if (node->front) {
                if (!front_list.empty()) work.emplace_back(node->front.get(), std::move(front_list));
            } else {
                move_append(outside, front_list);
            }
        }
        return outside;
    }

    template <typename Visit>
    void each_node(Visit visit) {
        std::vector<Node*> work{this};
        while (!work.empty()) {
            Node* node = work.back();
            work.pop_back();
            visit(*node);
            if (node->back) work.push_back(node->back.get());
            if (node->front) work.push_back(node->front.get());
        }
    }

    void clip_to(const Node& other) {
        each_node([&](Node& node) { node.polygons = other.clip_polygons(std::move(node.polygons)); });
    }
    void invert() {
        each_node([](Node& node) {
            for (Polygon& polygon : node.polygons) polygon.flip();
            if (node.plane) node.plane->flip();
            std::swap(node.front, node.back);
        });
    }
    // The tree is spent after this: its polygons move out in pre-order.
    Polygons take_polygons() {
        Polygons all;
        each_node([&](Node& node) { move_append(all, node.polygons); });
        return all;
    }
};

double volume6(const Polygons& polygons) {
    double sum = 0.0;
    for (const Polygon& p : polygons)
        for (std::size_t i = 1; i + 1 < p.v.size(); ++i) sum += dot(p.v[0], cross(p.v[i], p.v[i + 1]));
    return sum;
}

Polygons box(const double* b) {
    const double ex = b[0], ey = b[1], ez = b[2], tx = b[3], ty = b[4], tz = b[5];
    const std::array<D3, 8> c{{{tx, ty, tz},
                               {tx + ex, ty, tz},
                               {tx + ex, ty + ey, tz},
                               {tx, ty + ey, tz},
                               {tx, ty, tz + ez},
                               {tx + ex, ty, tz + ez},
                               {tx + ex, ty + ey, tz + ez},
                               {tx, ty + ey, tz + ez}}};
    constexpr int faces[6][4] = {{0, 3, 2, 1}, {4, 5, 6, 7}, {0, 1, 5, 4}, {2, 3, 7, 6}, {1, 2, 6, 5}, {3, 0, 4, 7}};
    Polygons polygons;
    for (const auto& face : faces) {
        std::vector<D3> loop{c[face[0]], c[face[1]], c[face[2]], c[face[3]]};
        if (has_area(loop)) polygons.push_back(Polygon::make(std::move(loop)));
    }
    return polygons;
}

void unite(Node& a, Node& b) {
    a.clip_to(b);
    b.clip_to(a);
    b.invert();
    b.clip_to(a);
    b.invert();
    a.build(b.take_polygons());
}

void cut(Node& a, Node& b) {
    a.invert();
    unite(a, b);
    a.invert();
}

void intersect(Node& a, Node& b) {
    a.invert();
    b.clip_to(a);
    b.invert();
    a.clip_to(b);
    b.clip_to(a);
    a.build(b.take_polygons());
    a.invert();
}

Polygons boolean(int op, Polygons a, Polygons b) {
    if (std::fabs(volume6(a)) <= kEps) a.clear();
    if (std::fabs(volume6(b)) <= kEps) b.clear();
    if ((op != 0 && a.empty()) || (op == 2 && b.empty())) return {};
    Node tree_a, tree_b;
    tree_a.build(std::move(a));
    tree_b.build(std::move(b));
    if (op == 0) unite(tree_a, tree_b);
    if (op == 1) cut(tree_a, tree_b);
    if (op == 2) intersect(tree_a, tree_b);
    Polygons result;
    for (Polygon& p : tree_a.take_polygons())
        if (has_area(p.v)) result.push_back(std::move(p));
    return result;
}

}  // namespace

extern "C" double twin_box_boolean(const double* box_a, const double* box_b, int op, int* polygons) {
    const Polygons result = boolean(op, box(box_a), box(box_b));
    *polygons = static_cast<int>(result.size());
    return volume6(result);
}

extern "C" double twin_sequential_cuts(const double* slab, int n, const double* cuts, int* polygons) {
    Polygons current = box(slab);
    for (int i = 0; i < n; ++i) current = boolean(1, std::move(current), box(cuts + 6 * i));
    *polygons = static_cast<int>(current.size());
    return volume6(current);
}
