// A solid as the boolean engine keeps it between operations: whole faces, each a region of one
// plane bounded by an outer loop and hole loops, shared by pointer between a result and its
// operands wherever an operation left them alone.
//
// Notation: a face's loops run counter-clockwise about its outward normal round the region (the
// outer loop) and clockwise round its holes, in space; in the face's frame (the 2D coordinates
// shared by every face of its plane, merge/plane_frame.hpp) the outer loop turns by `turn` (+1
// counter-clockwise, −1 clockwise) and holes the other way. volume6 is six times the signed volume
// of the cone from the origin over the loop's region (Σ v0·(vi × vi+1)); it adds up over loops,
// faces and bodies to the solid's volume6, whatever the faces are cut into. The polygon form of a
// body (materialise) is the merged form of its loops taken as polygons.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "corefine/face_tree.hpp"
#include "merge/plane_frame.hpp"
#include "solid/plane_side.hpp"
#include "solid/solid.hpp"

namespace brevant {

// Double boxes in the plane, widened like the face boxes (face_tree.hpp).
struct Box2 {
    std::array<double, 2> lo, hi;
    bool overlaps(const Box2& other) const;
    bool contains(const std::array<double, 2>& p) const;
    void extend(const Box2& other);
};

struct Loop {
    std::vector<Vec3> points;
    std::vector<FloatVertex> floats;
    std::vector<Point2> points2;  // in the frame of the face holding the loop
    Box2 box2;
    Rational volume6;
};
using LoopPtr = std::shared_ptr<const Loop>;

struct BodyFace {
    Plane plane;  // outward
    PlaneF64 fast;
    std::shared_ptr<const PlaneFrame> frame;
    std::size_t plane_hash;  // of the frame's key: faces in one plane hash alike
    int turn;
    std::string label;
    std::vector<LoopPtr> loops;  // the outer loop first
    Box3 box;
    Rational volume6;
    std::size_t vertex_count;
};
using FacePtr = std::shared_ptr<const BodyFace>;

struct Body {
    std::vector<FacePtr> faces;
    FaceTree tree;
    Box3 box;  // of all faces
    Rational volume6;
    std::size_t unsorted = 0;  // faces placed in the tree's order without sorting them in

    bool empty() const { return volume6.is_zero(); }
};
using BodyPtr = std::shared_ptr<const Body>;

// A loop in a frame, from points in space (shadows computed).
LoopPtr make_loop(std::vector<Vec3> points, const PlaneFrame& frame);
// The same loop running the other way.
LoopPtr reversed_loop(const Loop& loop);

// A face from its loops (the outer loop first); its plane outward, its frame that of the plane.
FacePtr make_face(const Plane& plane, std::shared_ptr<const PlaneFrame> frame, std::string label,
                  std::vector<LoopPtr> loops);
// The same face facing the other way.
FacePtr flipped_face(const BodyFace& face);

// A body from its faces: box hierarchy, box and volume.
Body make_body(std::vector<FacePtr> faces);
// The same for faces already in an order that keeps neighbours together, `unsorted` of them put
// there without sorting: the hierarchy keeps that order while they are few (a result's faces in
// the order of its operand's tree, new ones beside the faces they were cut from), and is sorted
// again once they are half.
Body make_body_in_order(std::vector<FacePtr> faces, std::size_t unsorted);

// The body of a solid: its merged faces (the polygons themselves when it is in merged form). A
// solid whose polygons cover a region of a plane more than once the same way (a soup listing a
// box twice) is refused.
Body body_of(const Solid& solid);

// The solid in merged form.
Solid materialise(const Body& body);

}  // namespace brevant
