#include "corefine/face_pieces.hpp"

#include <algorithm>
#include <numeric>

#include "arrangement/face_windings.hpp"
#include "corefine/point_location.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

int find(std::vector<int>& parent, int c) {
    while (parent[c] != c) c = parent[c] = parent[parent[c]];
    return c;
}

Piece whole_face(const Face& face, int index) {
    Piece piece{index, {face.loop}, interior_point({face.turn > 0 ? face.loop2 : std::vector<Point2>(face.loop2.rbegin(), face.loop2.rend())}), {}};
    const std::size_t n = face.loop.size();
    for (std::size_t i = 0; i < n; ++i) piece.sides.push_back({face.loop[i], face.loop[(i + 1) % n], false});
    return piece;
}

}  // namespace

std::vector<Piece> face_pieces(const FaceSet& faces, int index, const std::vector<Segment2>& cuts) {
    const Face& face = faces.faces[index];
    if (cuts.empty()) return {whole_face(face, index)};
    std::vector<Segment2> segments = cuts;
    const std::size_t n = face.loop2.size();
    for (std::size_t i = 0; i < n; ++i) segments.push_back({face.loop2[i], face.loop2[(i + 1) % n], 0});
    const Arrangement a = build_arrangement(segments);
    const FaceWindings fw = face_windings(a);

    // A face of the arrangement is its outer cycle with the outsides of the components nested in it.
    std::vector<int> parent(a.cycle_count());
    std::iota(parent.begin(), parent.end(), 0);
    for (int c = 0; c < a.cycle_count(); ++c) {
        if (fw.enclosing[c] >= 0) parent[find(parent, c)] = find(parent, fw.enclosing[c]);
    }
    std::vector<int> piece_of(a.cycle_count(), -1);
    std::vector<Piece> pieces;
    std::vector<std::vector<std::vector<Point2>>> loops2;
    for (int c = 0; c < a.cycle_count(); ++c) {
        if (fw.winding[c].empty()) continue;  // outside the face
        const int root = find(parent, c);
        if (piece_of[root] < 0) {
            piece_of[root] = static_cast<int>(pieces.size());
            pieces.push_back({index, {}, {}, {}});
            loops2.emplace_back();
        }
        const int p = piece_of[root];
        std::vector<Point2> loop2;
        std::vector<Vec3> loop;
        int h = a.cycle_first[c];
        do {
            poll_interrupt();
            loop2.push_back(a.points[a.origin[h]]);
            loop.push_back(face.frame.lift(loop2.back()));
            if (!a.weights[h / 2].empty()) {
                pieces[p].sides.push_back({loop.back(), face.frame.lift(a.points[a.dest(h)]), a.constrained[h / 2] != 0});
            }
            h = a.next[h];
        } while (h != a.cycle_first[c]);
        // Cycles keep their face on the left, counter-clockwise in 2D; the face may turn the other way.
        if (face.turn < 0) std::reverse(loop.begin(), loop.end());
        pieces[p].loops.push_back(std::move(loop));
        loops2[p].push_back(std::move(loop2));
    }
    for (std::size_t p = 0; p < pieces.size(); ++p) pieces[p].inside = interior_point(loops2[p]);
    return pieces;
}

}  // namespace brevant
