#include "boolean/boolean.hpp"

#include <array>
#include <utility>

#include "boolean/bsp_tree.hpp"
#include "exact/failure.hpp"
#include "solid/measures.hpp"

namespace brevant {
namespace {

// The recipes combine the two trees in place and leave the result's boundary in `a`.
//
// Union. Clipping a tree to the other keeps the part of each boundary outside the other solid;
// together these parts bound a ∪ b. A face that both solids share with the same orientation
// survives in both, since a polygon in a node's plane facing the same way travels to the front.
// Clipping b's polygons once more while inverted sends b's copy of such a face to the back, where
// it is dropped, and inverting again restores the orientation of what is left. Finally b's
// remaining polygons are built into a, so that a holds the whole boundary.
void unite(Node& a, Node& b) {
    a.clip_to(b);
    b.clip_to(a);
    b.invert();
    b.clip_to(a);
    b.invert();
    a.build(b.take_polygons());
}

// Cut. a − b is the complement of (complement of a) ∪ b: the union recipe between inversions of a.
// The surviving polygons of b therefore end up flipped, facing into the removed region.
void cut(Node& a, Node& b) {
    a.invert();
    unite(a, b);
    a.invert();
}

// Intersect. a ∩ b is the complement of (complement of a) ∪ (complement of b). With a inverted,
// clipping b to it keeps the part of b's boundary inside a. b is then inverted, and clipping a
// to it keeps the part of a's flipped boundary inside b. Clipping b once more, now flipped, drops
// its faces lying in a face of a that faces the other way (where the solids only touch). b's
// parts are built into a, and inverting a turns the complement back; b's polygons have been
// flipped twice and keep their orientation.
void intersect(Node& a, Node& b) {
    a.invert();
    b.clip_to(a);
    b.invert();
    a.clip_to(b);
    b.clip_to(a);
    a.build(b.take_polygons());
    a.invert();
}

// An empty tree inverts to nothing rather than to all of space, so the recipes cannot be trusted
// with an empty operand whose complement they would need; those cases are empty by definition.
struct Operation {
    std::string_view name;
    void (*combine)(Node& a, Node& b);
    bool empty_without_a;  // the result is empty when a has no polygons
    bool empty_without_b;  // the result is empty when b has no polygons
};

constexpr std::array<Operation, 3> kOperations{{
    {"union", unite, false, false},
    {"cut", cut, true, false},
    {"intersect", intersect, true, true},
}};

const Operation& operation_named(std::string_view op) {
    for (const Operation& operation : kOperations) {
        if (operation.name == op) return operation;
    }
    throw InternalFailure("unknown op");
}

// A solid without volume (a zero extent, a zero scale) has no inside, yet its tree would cut
// space into half-spaces; it takes part without polygons instead.
std::vector<Polygon> polygons_with_volume(Solid&& solid) {
    if (volume6_sign(solid) == 0) return {};
    return std::move(solid.polygons);
}

}  // namespace

Solid boolean_impl(std::string_view op, Solid a, Solid b) {
    const Operation& operation = operation_named(op);
    std::vector<Polygon> a_polygons = polygons_with_volume(std::move(a));
    std::vector<Polygon> b_polygons = polygons_with_volume(std::move(b));
    if ((operation.empty_without_a && a_polygons.empty()) || (operation.empty_without_b && b_polygons.empty())) {
        return Solid{};
    }

    Node tree_a;
    tree_a.build(std::move(a_polygons));
    Node tree_b;
    tree_b.build(std::move(b_polygons));
    operation.combine(tree_a, tree_b);
    return Solid::make(tree_a.take_polygons());
}

}  // namespace brevant
