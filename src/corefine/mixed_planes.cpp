#include "corefine/mixed_planes.hpp"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "exact/interrupt.hpp"
#include "merge/coplanar_merge.hpp"

namespace brevant {
namespace {

// The merged faces of one plane, as merging a whole solid makes them (merge/merged.cpp).
std::vector<FacePtr> merged_plane(const std::vector<FacePtr>& faces, const std::vector<int>& members) {
    std::vector<std::string> labels;
    for (int f : members) labels.push_back(faces[f]->label);
    std::sort(labels.begin(), labels.end());
    labels.erase(std::unique(labels.begin(), labels.end()), labels.end());
    std::vector<OwnedLoop> loops;
    for (int f : members) {
        const int owner = static_cast<int>(std::lower_bound(labels.begin(), labels.end(), faces[f]->label) - labels.begin());
        for (const LoopPtr& loop : faces[f]->loops) loops.push_back({loop->points2, owner, &loop->points});
    }
    const std::shared_ptr<const PlaneFrame>& frame = faces[members.front()]->frame;
    std::vector<FacePtr> result;
    for (MergedPiece& piece : merge_coplanar(loops)) {
        poll_interrupt();
        std::vector<Vec3> loop = std::move(piece.space);
        if (loop.empty()) {
            for (const Point2& q : piece.loop) loop.push_back(frame->lift(q));
        }
        if (piece.sign < 0) std::reverse(loop.begin(), loop.end());
        LoopPtr made = make_loop(std::move(loop), *frame);
        result.push_back(make_face(frame->oriented(piece.sign), frame, labels[piece.owner], {std::move(made)}));
    }
    return result;
}

}  // namespace

bool merge_mixed_planes(std::vector<FacePtr>& faces, const std::vector<const BodyFace*>& changed, bool every_plane) {
    std::unordered_set<std::size_t> hashes;
    for (const BodyFace* f : changed) hashes.insert(f->plane_hash);
    if (!every_plane && hashes.empty()) return false;
    // Faces by plane: a hash bucket, then the exact key.
    std::unordered_map<std::size_t, std::vector<std::vector<int>>> planes;
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const BodyFace& f = *faces[i];
        if (!every_plane && !hashes.contains(f.plane_hash)) continue;
        poll_interrupt();
        std::vector<std::vector<int>>& bucket = planes[f.plane_hash];
        auto same = std::find_if(bucket.begin(), bucket.end(), [&](const std::vector<int>& g) {
            return faces[g.front()]->frame == f.frame || faces[g.front()]->frame->key == f.frame->key;
        });
        if (same == bucket.end()) {
            bucket.push_back({static_cast<int>(i)});
        } else {
            same->push_back(static_cast<int>(i));
        }
    }
    std::vector<char> replaced(faces.size(), 0);
    std::vector<FacePtr> added;
    for (const auto& [hash, bucket] : planes) {
        for (const std::vector<int>& members : bucket) {
            const std::string& first = faces[members.front()]->label;
            if (std::all_of(members.begin(), members.end(), [&](int f) { return faces[f]->label == first; })) continue;
            for (int f : members) replaced[f] = 1;
            for (FacePtr& face : merged_plane(faces, members)) added.push_back(std::move(face));
        }
    }
    if (added.empty() && std::find(replaced.begin(), replaced.end(), 1) == replaced.end()) return false;
    std::vector<FacePtr> kept;
    kept.reserve(faces.size() + added.size());
    for (std::size_t i = 0; i < faces.size(); ++i) {
        if (!replaced[i]) kept.push_back(std::move(faces[i]));
    }
    for (FacePtr& f : added) kept.push_back(std::move(f));
    faces = std::move(kept);
    return true;
}

}  // namespace brevant
