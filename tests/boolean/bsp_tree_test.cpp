#include "boolean/bsp_tree.hpp"

#include <gtest/gtest.h>

#include "geometry_helpers.hpp"
#include "small_stack.hpp"
#include "solid/solid.hpp"

namespace brevant {
namespace {

using testing::pt;
using testing::poly;

Node box_tree(const std::string& prefix = "box") {
    Node tree;
    tree.build(Solid::cube(Rational(2), Rational(2), Rational(2), prefix).polygons);
    return tree;
}

std::vector<std::string> labels(const std::vector<Polygon>& polygons) {
    std::vector<std::string> out;
    for (const Polygon& p : polygons) out.push_back(p.label);
    return out;
}

// The lowest and highest coordinate of a polygon along one axis.
std::pair<Rational, Rational> range(const Polygon& p, int axis) {
    std::pair<Rational, Rational> r{p.vertices[0][axis], p.vertices[0][axis]};
    for (const Vec3& v : p.vertices) r = {std::min(r.first, v[axis]), std::max(r.second, v[axis])};
    return r;
}

std::pair<Rational, Rational> from_to(long lo, long hi) { return {Rational(lo), Rational(hi)}; }

bool same_plane(const Plane& a, const Plane& b) { return a.normal == b.normal && a.offset == b.offset; }

TEST(BspTree, EmptyTreeHasNoPlaneAndClipsNothing) {
    Node empty;
    empty.build({});
    EXPECT_FALSE(empty.plane.has_value());
    const Polygon square = poly({pt(0, 0, 0), pt(1, 0, 0), pt(1, 1, 0), pt(0, 1, 0)});
    const std::vector<Polygon> clipped = empty.clip_polygons({square});
    ASSERT_EQ(clipped.size(), 1u);
    EXPECT_EQ(clipped[0].vertices, square.vertices);

    Node box = box_tree();
    box.clip_to(empty);
    EXPECT_EQ(labels(box.all_polygons()), labels(Solid::cube(2, 2, 2, "box").polygons));
}

TEST(BspTree, BoxFacesChainDownTheBackSide) {
    const Node tree = box_tree();
    const Solid box = Solid::cube(2, 2, 2, "box");
    const std::vector<std::string> expected{"box.bottom", "box.top", "box.front", "box.back", "box.right", "box.left"};
    const Node* node = &tree;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ASSERT_NE(node, nullptr);
        ASSERT_TRUE(node->plane.has_value());
        EXPECT_TRUE(same_plane(*node->plane, box.polygons[i].plane));
        EXPECT_EQ(labels(node->polygons), std::vector<std::string>{expected[i]});
        EXPECT_EQ(node->front, nullptr);
        node = node->back.get();
    }
    EXPECT_EQ(node, nullptr);
}

TEST(BspTree, ClipsAgainstTheBox) {
    const Node tree = box_tree();
    // Entirely inside: nothing left.
    EXPECT_TRUE(tree.clip_polygons({poly({pt("1", "1", "1/2"), pt("3/2", "1", "1"), pt("1", "3/2", "3/2")})}).empty());

    // Outside, crossing the bottom plane: two pieces, the one in front of the root first.
    const std::vector<Polygon> pieces =
        tree.clip_polygons({poly({pt(3, 0, -1), pt(4, 0, -1), pt(4, 0, 1), pt(3, 0, 1)}, "sq")});
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(range(pieces[0], 2), from_to(-1, 0));
    EXPECT_EQ(range(pieces[1], 2), from_to(0, 1));

    // Crossing the face x = 2: only the part beyond it survives.
    const std::vector<Polygon> beyond = tree.clip_polygons({poly({pt(1, 1, 1), pt(3, 1, 1), pt("3", "1", "3/2")})});
    ASSERT_EQ(beyond.size(), 1u);
    EXPECT_EQ(range(beyond[0], 0), from_to(2, 3));
}

// Walks two trees side by side and reports whether every node matches.
bool same_tree(const Node& a, const Node& b) {
    std::vector<std::pair<const Node*, const Node*>> work{{&a, &b}};
    while (!work.empty()) {
        auto [x, y] = work.back();
        work.pop_back();
        if (x->plane.has_value() != y->plane.has_value() || (x->plane && !same_plane(*x->plane, *y->plane)) ||
            x->polygons.size() != y->polygons.size())
            return false;
        for (std::size_t i = 0; i < x->polygons.size(); ++i) {
            const Polygon &p = x->polygons[i], &q = y->polygons[i];
            if (p.vertices != q.vertices || !same_plane(p.plane, q.plane) || p.label != q.label) return false;
        }
        if (!x->front != !y->front || !x->back != !y->back) return false;
        if (x->front) work.emplace_back(x->front.get(), y->front.get());
        if (x->back) work.emplace_back(x->back.get(), y->back.get());
    }
    return true;
}

Node sliced_box_tree() {
    Node tree = box_tree();
    tree.build({poly({pt(-1, -1, 1), pt(5, -1, 1), pt(5, 5, 1)}, "slice")});
    return tree;
}

TEST(BspTree, InvertTwiceRestoresTheTree) {
    Node tree = sliced_box_tree();
    const Node reference = box_tree(), twin = sliced_box_tree();

    tree.invert();
    EXPECT_FALSE(same_tree(tree, twin));
    EXPECT_EQ(tree.back, nullptr);
    ASSERT_NE(tree.front, nullptr);
    EXPECT_TRUE(same_plane(*tree.plane, twin.plane->flipped()));
    EXPECT_EQ(tree.polygons[0].vertices, twin.polygons[0].flipped().vertices);
    tree.invert();
    EXPECT_TRUE(same_tree(tree, twin));
    EXPECT_FALSE(same_tree(tree, reference));
}

TEST(BspTree, AllPolygonsIsPreOrderAndKeepsLabels) {
    // Root plane z = 0 facing up; "span" crosses it and is cut, its upper piece landing below the
    // front child's plane z = 1.
    Node tree;
    tree.build({poly({pt(0, 0, 0), pt(1, 0, 0), pt(0, 1, 0)}, "root")});
    tree.build({poly({pt(0, 0, 1), pt(1, 0, 1), pt(0, 1, 1)}, "up"), poly({pt(0, 0, -1), pt(1, 0, -1), pt(0, 1, -1)}, "down"),
                poly({pt(0, 5, -1), pt(1, 5, -1), pt("1", "5", "1/2"), pt("0", "5", "1/2")}, "span")});
    const std::vector<Polygon> all = tree.all_polygons();
    EXPECT_EQ(labels(all), (std::vector<std::string>{"root", "up", "span", "down", "span"}));
    EXPECT_EQ(range(all[2], 2).first, Rational(0));
    EXPECT_EQ(range(all[4], 2).second, Rational(0));
    ASSERT_NE(tree.front, nullptr);
    EXPECT_NE(tree.front->back, nullptr);

    const std::vector<Polygon> taken = tree.take_polygons();
    EXPECT_EQ(labels(taken), labels(all));
    EXPECT_TRUE(tree.all_polygons().empty());
    EXPECT_TRUE(tree.plane.has_value());
}

bool same_shadow(const PlaneF64& a, const PlaneF64& b) { return a.nx == b.nx && a.ny == b.ny && a.nz == b.nz && a.w == b.w; }

// The shadow kept with a node's plane must be the one split would get from the plane itself,
// whether the plane was set or negated by an inversion.
TEST(BspTree, NodePlaneShadowFollowsThePlane) {
    Node tree;
    tree.build({poly({pt("1/3", "0", "0"), pt("1/3", "1/7", "0"), pt("1/3", "0", "2/9")}, "thirds"),
                poly({pt("0", "0", "1/10"), pt("1", "0", "1/10"), pt("0", "1", "1/5")}, "tilted")});
    for (int inversions = 0; inversions < 3; ++inversions) {
        std::vector<const Node*> work{&tree};
        while (!work.empty()) {
            const Node* node = work.back();
            work.pop_back();
            ASSERT_TRUE(node->plane.has_value());
            EXPECT_TRUE(same_shadow(node->plane.fast(), plane_f64(*node->plane))) << inversions;
            if (node->front) work.push_back(node->front.get());
            if (node->back) work.push_back(node->back.get());
        }
        tree.invert();
    }
    Node assigned;
    assigned.plane = Plane{pt("1/3", "-2/7", "5"), parse_r("-1/11")};
    EXPECT_TRUE(same_shadow(assigned.plane.fast(), plane_f64(*assigned.plane)));
}

// A chain through front children: node k has the plane z = k facing up and one triangle in it,
// beside the box of box_tree().
std::unique_ptr<Node> stair(long depth) {
    auto root = std::make_unique<Node>();
    Node* node = root.get();
    for (long k = 0; k < depth; ++k) {
        node->polygons.push_back(poly({pt(10, 0, k), pt(11, 0, k), pt(10, 1, k)}, "step"));
        node->plane = node->polygons.back().plane;
        if (k + 1 < depth) {
            node->front = std::make_unique<Node>();
            node = node->front.get();
        }
    }
    return root;
}

TEST(BspTree, DeepChainsNeedNoDeepStack) {
    constexpr long kDepth = 20000;
    std::size_t before = 0, after_build = 0, clipped = 0, after_clip = 0;
    bool inverted_to_back = false;
    testing::run_on_small_stack([&] {
        std::unique_ptr<Node> tree = stair(kDepth);
        before = tree->all_polygons().size();
        // A triangle above every step travels the whole chain and starts a new level.
        tree->build({poly({pt(0, 0, kDepth), pt(1, 0, kDepth), pt(0, 1, kDepth)}, "top")});
        after_build = tree->all_polygons().size();
        clipped = tree->clip_polygons({poly({pt(0, 0, kDepth + 1), pt(1, 0, kDepth + 1), pt(0, 1, kDepth + 1)})}).size();
        Node far_box = box_tree();
        tree->clip_to(far_box);  // every step lies beside the box, so nothing is removed
        after_clip = tree->all_polygons().size();
        tree->invert();
        inverted_to_back = tree->front == nullptr && tree->back != nullptr;
        tree.reset();
    });
    EXPECT_EQ(before, static_cast<std::size_t>(kDepth));
    EXPECT_EQ(after_build, static_cast<std::size_t>(kDepth + 1));
    EXPECT_EQ(clipped, 1u);
    EXPECT_EQ(after_clip, static_cast<std::size_t>(kDepth + 1));
    EXPECT_TRUE(inverted_to_back);
}

}  // namespace
}  // namespace brevant
