// A BSP tree over the polygons of one solid.
//
// Notation: each node holds a splitting plane, the polygons lying in that plane (either
// orientation) and optional subtrees for the half-spaces in front of and behind it. For a tree
// built from a closed solid, a point that ends in a missing back subtree is inside the solid, one
// that ends in a missing front subtree is outside. Trees are not balanced and can be as deep as the
// number of planes, so every walk below uses an explicit stack instead of recursion, visiting
// nodes in pre-order (node, front subtree, back subtree).
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "boolean/split.hpp"
#include "solid/polygon.hpp"

namespace brevant {

// A node's plane, read like an optional Plane, with its double shadow made once when it is set:
// every split against the node needs the shadow, and a node is passed by many polygon lists.
class NodePlane {
public:
    bool has_value() const { return plane_.has_value(); }
    explicit operator bool() const { return has_value(); }
    const Plane& operator*() const { return *plane_; }
    const Plane* operator->() const { return &*plane_; }
    const PlaneF64& fast() const { return fast_; }

    NodePlane& operator=(const Plane& plane);
    // Negates the plane and its shadow; rounding to nearest is symmetric, so the negated shadow is
    // the shadow of the negated plane.
    void flip();

private:
    std::optional<Plane> plane_;
    PlaneF64 fast_{};
};

struct Node {
    std::vector<Polygon> polygons;
    NodePlane plane;  // empty only while the node has never been given a polygon
    std::unique_ptr<Node> front;
    std::unique_ptr<Node> back;

    Node() = default;
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;
    Node(Node&&) noexcept = default;
    Node& operator=(Node&&) noexcept = default;
    // Tears the subtree down one node at a time (owning child chains would otherwise recurse).
    ~Node();

    // Adds polygons: a node without a plane takes the first polygon's plane; polygons in a node's
    // plane stay there, the rest are sent down (cut where they span), creating children as needed.
    void build(std::vector<Polygon> list);
    // The parts of the polygons outside the solid this tree describes, in pre-order of the leaves
    // they reach. A polygon in a node's plane travels with the side its orientation faces.
    std::vector<Polygon> clip_polygons(std::vector<Polygon> list) const;
    // Replaces every node's polygons by their parts outside the solid of `other`.
    void clip_to(const Node& other);
    // Turns the tree into that of the complement: polygons flipped, planes negated, children swapped.
    void invert();
    // Copies of all polygons, in pre-order.
    std::vector<Polygon> all_polygons() const;
    // The polygons themselves, in pre-order, leaving every node without polygons.
    std::vector<Polygon> take_polygons();
};

}  // namespace brevant
