#include "ssi/rpatch.hpp"

#include <optional>
#include <utility>

#include "exact/failure.hpp"
#include "exact/interrupt.hpp"

namespace brevant {
namespace {

const Rational& one_half() {
    static const Rational half = Rational(1) / Rational(2);
    return half;
}

Rational midpoint(const Rational& a, const Rational& b) { return (a + b) * one_half(); }

// a := the midpoint of a and b in their first d coordinates; a keeps exactly d coordinates.
void average_into(ControlPoint& a, const ControlPoint& b, std::size_t d) {
    if (a.size() < d || b.size() < d)
        throw InternalFailure("index out of range: a control point has fewer coordinates than the first");
    a.resize(d);
    for (std::size_t c = 0; c < d; ++c) {
        a[c] += b[c];
        a[c] *= one_half();
    }
}

// De Casteljau at 1/2 on one control polygon, worked in place on its own copy of the points.
// Level l writes pts[0] … pts[k-1-l] and never touches pts[k-1-l] again, so the left half is the
// sequence of pts[0] after each level, and what the points hold at the end is the right half.
std::pair<ControlRow, ControlRow> halve(ControlRow pts, std::size_t d) {
    const std::size_t k = pts.size();
    if (k == 0) throw InternalFailure("index out of range: a row of a control net has no points");
    ControlRow left;
    left.reserve(k);
    left.push_back(pts[0]);
    for (std::size_t level = 1; level < k; ++level) {
        // Ascending j, so pts[j + 1] still holds the previous level's value.
        for (std::size_t j = 0; j + level < k; ++j) {
            poll_interrupt();  // halving a row is quadratic in its length
            average_into(pts[j], pts[j + 1], d);
        }
        left.push_back(pts[0]);
    }
    return {std::move(left), std::move(pts)};
}

// The halves over [v0, vm] and [vm, v1]; consumes the patch, whose rows become the work copies.
std::pair<RPatch, RPatch> halve_in_v(RPatch&& patch, std::size_t d) {
    ControlNet low, high;
    low.reserve(patch.net.size());
    high.reserve(patch.net.size());
    for (ControlRow& row : patch.net) {
        auto [left, right] = halve(std::move(row), d);
        low.push_back(std::move(left));
        high.push_back(std::move(right));
    }
    Rational vm = midpoint(patch.v0, patch.v1);
    return {RPatch{std::move(low), patch.u0, patch.u1, patch.v0, vm},
            RPatch{std::move(high), std::move(patch.u0), std::move(patch.u1), std::move(vm), std::move(patch.v1)}};
}

void require_first_point(const ControlNet& net) {
    if (net.empty()) throw InternalFailure("index out of range: the control net has no rows");
    if (net[0].empty()) throw InternalFailure("index out of range: the first row of the control net has no points");
}

void include(std::optional<BoundingBox>& box, const Rational& x, const Rational& y, const Rational& z) {
    if (!box) {
        box = BoundingBox{{x, y, z}, {x, y, z}};
        return;
    }
    const Rational* c[3] = {&x, &y, &z};
    for (std::size_t a = 0; a < 3; ++a) {
        if (*c[a] < box->lo[a]) box->lo[a] = *c[a];
        if (*c[a] > box->hi[a]) box->hi[a] = *c[a];
    }
}

}  // namespace

std::pair<std::vector<ControlRow>, std::vector<ControlRow>> RPatch::split_rows(const std::vector<ControlRow>& rows,
                                                                               std::size_t d) {
    std::vector<ControlRow> lefts, rights;
    lefts.reserve(rows.size());
    rights.reserve(rows.size());
    for (const ControlRow& row : rows) {
        auto [left, right] = halve(row, d);
        lefts.push_back(std::move(left));
        rights.push_back(std::move(right));
    }
    return {std::move(lefts), std::move(rights)};
}

std::array<RPatch, 4> RPatch::split4(const RPatch& patch) { return split4(RPatch(patch)); }

std::array<RPatch, 4> RPatch::split4(RPatch&& patch) {
    ControlNet& net = patch.net;
    require_first_point(net);
    const std::size_t n = net.size();
    const std::size_t m = net[0].size();
    const std::size_t d = net[0][0].size();
    for (const ControlRow& row : net)
        if (row.size() < m) throw InternalFailure("index out of range: a row is shorter than the first row");

    // Each column is a curve in u; halving it column by column fills both u halves row-major.
    ControlNet lower(n, ControlRow(m)), upper(n, ControlRow(m));
    for (std::size_t j = 0; j < m; ++j) {
        ControlRow column;
        column.reserve(n);
        for (ControlRow& row : net) column.push_back(std::move(row[j]));
        auto [left, right] = halve(std::move(column), d);
        for (std::size_t i = 0; i < n; ++i) {
            lower[i][j] = std::move(left[i]);
            upper[i][j] = std::move(right[i]);
        }
    }
    const Rational um = midpoint(patch.u0, patch.u1);
    auto [q0, q1] = halve_in_v(RPatch{std::move(lower), patch.u0, um, patch.v0, patch.v1}, d);
    auto [q2, q3] = halve_in_v(RPatch{std::move(upper), um, patch.u1, patch.v0, patch.v1}, d);
    return {std::move(q0), std::move(q1), std::move(q2), std::move(q3)};
}

BoundingBox RPatch::bbox(const RPatch& patch) {
    require_first_point(patch.net);
    const std::size_t d = patch.net[0][0].size();
    std::optional<BoundingBox> box;
    for (const ControlRow& row : patch.net) {
        for (const ControlPoint& p : row) {
            poll_interrupt();
            if (d == 3) {
                if (p.size() < 3) throw InternalFailure("index out of range: a control point has fewer than 3 coordinates");
                include(box, p[0], p[1], p[2]);
            } else {
                if (p.size() < 4) throw InternalFailure("index out of range: a homogeneous control point has no weight");
                include(box, p[0] / p[3], p[1] / p[3], p[2] / p[3]);
            }
        }
    }
    return std::move(*box);
}

ControlNet parse_net(const NetTexts& texts) {
    ControlNet net;
    net.reserve(texts.size());
    for (const auto& row_texts : texts) {
        ControlRow& row = net.emplace_back();
        row.reserve(row_texts.size());
        for (const auto& point_texts : row_texts) {
            ControlPoint& point = row.emplace_back();
            point.reserve(point_texts.size());
            for (const std::string& text : point_texts) point.push_back(parse_r(text));
        }
    }
    return net;
}

}  // namespace brevant
