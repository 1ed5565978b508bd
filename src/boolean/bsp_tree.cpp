#include "boolean/bsp_tree.hpp"

#include <iterator>
#include <utility>

#include "boolean/split.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

void move_append(std::vector<Polygon>& to, std::vector<Polygon>& from) {
    to.insert(to.end(), std::make_move_iterator(from.begin()), std::make_move_iterator(from.end()));
    from.clear();
}

Node& child(std::unique_ptr<Node>& slot) {
    if (!slot) slot = std::make_unique<Node>();
    return *slot;
}

// Work items of the walks below: a node and the polygons that still have to pass it. Each walk
// pushes the back item before the front item, so the front subtree is finished first, exactly
// as a recursive walk would do it.
template <typename NodeRef>
using Pending = std::vector<std::pair<NodeRef*, std::vector<Polygon>>>;

}  // namespace

NodePlane& NodePlane::operator=(const Plane& plane) {
    plane_ = plane;
    fast_ = plane_f64(plane);
    return *this;
}

void NodePlane::flip() {
    if (!plane_) return;
    plane_ = plane_->flipped();
    fast_ = {-fast_.nx, -fast_.ny, -fast_.nz, -fast_.w};
}

namespace {

// Every polygon of the list, in order, split by the node's plane into the targets.
void split_each(const NodePlane& plane, std::vector<Polygon>& polygons, const SplitTargets& to) {
    for (Polygon& polygon : polygons) {
        poll_interrupt();  // trees of large solids take many splits
        split_into(*plane, plane.fast(), std::move(polygon), to);
    }
}

}  // namespace

Node::~Node() {
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

void Node::build(std::vector<Polygon> list) {
    Pending<Node> work;
    work.emplace_back(this, std::move(list));
    while (!work.empty()) {
        auto [node, polygons] = std::move(work.back());
        work.pop_back();
        if (polygons.empty()) continue;
        if (!node->plane) node->plane = polygons.front().plane;
        std::vector<Polygon> front_list;
        std::vector<Polygon> back_list;
        front_list.reserve(polygons.size());
        back_list.reserve(polygons.size());
        split_each(node->plane, polygons, {node->polygons, node->polygons, front_list, back_list});
        if (!back_list.empty()) work.emplace_back(&child(node->back), std::move(back_list));
        if (!front_list.empty()) work.emplace_back(&child(node->front), std::move(front_list));
    }
}

std::vector<Polygon> Node::clip_polygons(std::vector<Polygon> list) const {
    std::vector<Polygon> outside;
    Pending<const Node> work;
    work.emplace_back(this, std::move(list));
    while (!work.empty()) {
        auto [node, polygons] = std::move(work.back());
        work.pop_back();
        if (!node->plane) {
            move_append(outside, polygons);
            continue;
        }
        std::vector<Polygon> front_list;
        std::vector<Polygon> back_list;
        front_list.reserve(polygons.size());
        back_list.reserve(polygons.size());
        split_each(node->plane, polygons, {front_list, back_list, front_list, back_list});
        // Parts reaching a missing back child are inside the solid and dropped; parts reaching a
        // missing front child are final, and come before anything still on the stack.
        if (node->back && !back_list.empty()) work.emplace_back(node->back.get(), std::move(back_list));
        if (node->front) {
            if (!front_list.empty()) work.emplace_back(node->front.get(), std::move(front_list));
        } else {
            move_append(outside, front_list);
        }
    }
    return outside;
}

void Node::clip_to(const Node& other) {
    std::vector<Node*> work{this};
    while (!work.empty()) {
        Node* node = work.back();
        work.pop_back();
        node->polygons = other.clip_polygons(std::move(node->polygons));
        if (node->back) work.push_back(node->back.get());
        if (node->front) work.push_back(node->front.get());
    }
}

void Node::invert() {
    std::vector<Node*> work{this};
    while (!work.empty()) {
        Node* node = work.back();
        work.pop_back();
        poll_interrupt();
        for (Polygon& polygon : node->polygons) polygon.flip();
        node->plane.flip();
        std::swap(node->front, node->back);
        if (node->back) work.push_back(node->back.get());
        if (node->front) work.push_back(node->front.get());
    }
}

std::vector<Polygon> Node::all_polygons() const {
    std::vector<Polygon> all;
    std::vector<const Node*> work{this};
    while (!work.empty()) {
        const Node* node = work.back();
        work.pop_back();
        poll_interrupt();
        all.insert(all.end(), node->polygons.begin(), node->polygons.end());
        if (node->back) work.push_back(node->back.get());
        if (node->front) work.push_back(node->front.get());
    }
    return all;
}

std::vector<Polygon> Node::take_polygons() {
    std::vector<Polygon> all;
    std::vector<Node*> work{this};
    while (!work.empty()) {
        Node* node = work.back();
        work.pop_back();
        move_append(all, node->polygons);
        if (node->back) work.push_back(node->back.get());
        if (node->front) work.push_back(node->front.get());
    }
    return all;
}

}  // namespace brevant
