#include "corefine/face_pieces.hpp"

#include <algorithm>
#include <numeric>

#include "arrangement/face_windings.hpp"
#include "corefine/convex_cut.hpp"
#include "corefine/point_location.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

int root_of(std::vector<int>& parent, int c) {
    while (parent[c] != c) c = parent[c] = parent[parent[c]];
    return c;
}

Piece whole_face(const Face& face, int index) {
    Piece piece{index, {face.turn > 0 ? face.loop2 : std::vector<Point2>(face.loop2.rbegin(), face.loop2.rend())}, {}};
    const std::size_t n = face.loop.size();
    for (std::size_t i = 0; i < n; ++i) piece.sides.push_back({face.loop[i], face.loop[(i + 1) % n], false});
    return piece;
}

}  // namespace

Point2 inner_point(const Piece& piece) { return interior_point(piece.loops); }

std::vector<std::vector<Vec3>> loops_in_space(const Piece& piece, const Face& face) {
    std::vector<std::vector<Vec3>> loops;
    for (const std::vector<Point2>& loop2 : piece.loops) {
        std::vector<Vec3> loop;
        loop.reserve(loop2.size());
        for (const Point2& q : loop2) loop.push_back(face.frame.lift(q));
        // Pieces keep their region on the left in 2D; the face may turn the other way.
        if (face.turn < 0) std::reverse(loop.begin(), loop.end());
        loops.push_back(std::move(loop));
    }
    return loops;
}

std::vector<Piece> face_pieces(const FaceSet& faces, int index, const std::vector<Segment2>& cuts) {
    if (cuts.empty()) return {whole_face(faces.faces[index], index)};
    if (std::optional<std::vector<Piece>> pieces = convex_cut(faces, index, cuts)) return std::move(*pieces);
    return arrangement_pieces(faces, index, cuts);
}

std::vector<Piece> arrangement_pieces(const FaceSet& faces, int index, const std::vector<Segment2>& cuts) {
    const Face& face = faces.faces[index];
    std::vector<Segment2> segments = cuts;
    const std::size_t n = face.loop2.size();
    for (std::size_t i = 0; i < n; ++i) segments.push_back({face.loop2[i], face.loop2[(i + 1) % n], 0});
    const Arrangement a = build_arrangement(segments);
    const FaceWindings fw = face_windings(a);

    // A face of the arrangement is its outer cycle with the outsides of the components nested in it.
    std::vector<int> parent(a.cycle_count());
    std::iota(parent.begin(), parent.end(), 0);
    for (int c = 0; c < a.cycle_count(); ++c) {
        if (fw.enclosing[c] >= 0) parent[root_of(parent, c)] = root_of(parent, fw.enclosing[c]);
    }
    std::vector<int> piece_of(a.cycle_count(), -1);
    std::vector<Piece> pieces;
    for (int c = 0; c < a.cycle_count(); ++c) {
        if (fw.winding[c].empty()) continue;  // outside the face
        const int root = root_of(parent, c);
        if (piece_of[root] < 0) {
            piece_of[root] = static_cast<int>(pieces.size());
            pieces.push_back({index, {}, {}});
        }
        Piece& piece = pieces[piece_of[root]];
        std::vector<Point2> loop;
        int h = a.cycle_first[c];
        do {
            poll_interrupt();
            loop.push_back(a.points[a.origin[h]]);
            if (!a.weights[h / 2].empty()) {
                piece.sides.push_back({face.frame.lift(loop.back()), face.frame.lift(a.points[a.dest(h)]),
                                       a.constrained[h / 2] != 0});
            }
            h = a.next[h];
        } while (h != a.cycle_first[c]);
        piece.loops.push_back(std::move(loop));
    }
    return pieces;
}

}  // namespace brevant
