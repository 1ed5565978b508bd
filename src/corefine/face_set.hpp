// The faces of a solid as the boolean engine uses them: the merged faces, each with its plane, its
// 2D coordinates, a widened double box, and a hierarchy over those boxes.
#pragma once

#include <string>
#include <vector>

#include "corefine/face_tree.hpp"
#include "merge/plane_frame.hpp"
#include "solid/solid.hpp"

namespace brevant {

struct Face {
    std::vector<Vec3> loop;
    std::vector<FloatVertex> floats;
    std::string label;
    Plane plane;              // oriented by the loop: outward on a closed solid
    PlaneFrame frame;         // shared by every face in the same plane, whatever its orientation
    std::vector<Point2> loop2;  // the loop in the frame's coordinates
    int turn;                 // +1 when loop2 turns counter-clockwise, −1 when clockwise
};

struct FaceSet {
    std::vector<Face> faces;
    FaceTree tree;
    Box3 box;  // of all faces, widened
};

// The faces of the merged form of `solid`; `whole` says its polygons are whole faces already (a
// merged solid, or the result of merged_faces).
FaceSet face_set(const Solid& solid, bool whole = false);

// A box around the points, widened by a margin far above the rounding of their shadows.
Box3 widened_box(const std::vector<FloatVertex>& points);

}  // namespace brevant
