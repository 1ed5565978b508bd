// Fuzz target: the solid pipeline. The input bytes are decoded into a short program over a small
// stack of solids: push a box or a prism over a star-shaped loop, both with small rational
// coordinates, apply a transform to the top solid, or combine the top two with a boolean. Every
// step checks what must hold exactly, from values known independently of the code under test:
// each result is closed (watertight); the six-fold volume of each box and prism and after each
// transform; the inverse transform giving back the same canonical text; for the booleans
// vol(a ∪ b) + vol(a ∩ b) = vol(a) + vol(b) and vol(a − b) = vol(a) − vol(a ∩ b); operands
// left unchanged; the merged form of each boolean result keeping its volume and closedness,
// merging again changing nothing, and its mesh matching every side with one running the other way;
// the engine on whole faces giving closed results with the same volumes, its bodies read back as
// those results and used again as operands; union_all of the whole stack; and the exact state text
// giving back the same polygons. Either path's results go on as operands, so transforms, booleans
// and merging also meet merged solids and solids read back from bodies.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "boolean/boolean.hpp"
#include "corefine/corefine.hpp"
#include "exact/failure.hpp"
#include "merge/merged.hpp"
#include "merge/mesh.hpp"
#include "solid/measures.hpp"
#include "solid/prisms.hpp"
#include "solid/solid.hpp"
#include "solid/solid_state.hpp"
#include "solid/transforms.hpp"
#include "solid/watertight.hpp"

namespace {

using namespace brevant;

constexpr std::size_t kMaxSteps = 8;
constexpr std::size_t kMaxStack = 3;

struct Entry {
    Solid solid;
    Rational volume6;  // what the volume of solid must be
};

void check(bool condition) {
    if (!condition) __builtin_trap();
}

Rational fraction(FuzzedDataProvider& in, long lo, long hi, long max_denominator) {
    const long numerator = in.ConsumeIntegralInRange<long>(lo, hi);
    const long denominator = in.ConsumeIntegralInRange<long>(1, max_denominator);
    return Rational(BigInt(numerator), BigInt(denominator));
}

Rational nonzero_fraction(FuzzedDataProvider& in, long magnitude, long max_denominator) {
    const long numerator = in.ConsumeIntegralInRange<long>(1, magnitude);
    const Rational value = Rational(BigInt(numerator), BigInt(in.ConsumeIntegralInRange<long>(1, max_denominator)));
    return in.ConsumeBool() ? -value : value;
}

Vec3 small_vector(FuzzedDataProvider& in) { return {fraction(in, -8, 8, 4), fraction(in, -8, 8, 4), fraction(in, -8, 8, 4)}; }

std::optional<Entry> push_box(FuzzedDataProvider& in) {
    const Vec3 corner = small_vector(in);
    const Vec3 size{fraction(in, 1, 8, 4), fraction(in, 1, 8, 4), fraction(in, 1, 8, 4)};
    Entry box{translated(Solid::cube(size[0], size[1], size[2], "b"), corner), Rational(6) * size[0] * size[1] * size[2]};
    const auto [lo, hi] = bbox(box.solid);
    check(lo == corner && hi == add(corner, size));
    check(logical_face_count(box.solid) == 6);
    return box;
}

Entry translate(const Entry& top, FuzzedDataProvider& in) {
    const Vec3 by = small_vector(in);
    Entry moved{translated(top.solid, by), top.volume6};
    check(canonical_text(translated(moved.solid, neg(by))) == canonical_text(top.solid));
    return moved;
}

Entry scale(const Entry& top, FuzzedDataProvider& in) {
    const Rational fx = nonzero_fraction(in, 4, 3), fy = nonzero_fraction(in, 4, 3), fz = nonzero_fraction(in, 4, 3);
    Entry resized{scaled(top.solid, fx, fy, fz), top.volume6 * (fx * fy * fz).abs()};
    const Rational one(1);
    check(canonical_text(scaled(resized.solid, one / fx, one / fy, one / fz)) == canonical_text(top.solid));
    return resized;
}

Entry mirror(const Entry& top, FuzzedDataProvider& in) {
    const auto axis = in.ConsumeIntegralInRange<std::uint64_t>(0, 2);
    Entry image{mirrored(top.solid, axis), top.volume6};
    check(canonical_text(mirrored(image.solid, axis)) == canonical_text(top.solid));
    return image;
}

Entry rotate(const Entry& top, FuzzedDataProvider& in) {
    const auto axis = in.ConsumeIntegralInRange<std::uint64_t>(0, 5);
    const auto quarters = in.ConsumeIntegralInRange<std::int64_t>(-5, 5);
    Entry turned{rotated_quarter(top.solid, axis, quarters), top.volume6};
    check(canonical_text(rotated_quarter(turned.solid, axis, -quarters)) == canonical_text(top.solid));
    return turned;
}

// The unit vector ((1 − t²)/(1 + t²), 2t/(1 + t²)): rational, and its angle grows with t.
Point2 unit_at(const Rational& t) {
    const Rational one(1);
    const Rational denominator = one + t * t;
    return {(one - t * t) / denominator, Rational(2) * t / denominator};
}

// A loop of points r·unit_at(t) for a rising choice of t from a fixed table, each with its own
// radius r: star-shaped around the origin, hence simple, when every turn from one direction to
// the next is less than half a turn. Anything else decodes to no loop.
std::vector<Point2> star_loop(FuzzedDataProvider& in) {
    static const std::vector<Rational> ts = {Rational(-3), Rational(-2), Rational(-1), Rational(BigInt(-1), BigInt(2)),
                                             Rational(BigInt(-1), BigInt(3)), Rational(0), Rational(BigInt(1), BigInt(3)),
                                             Rational(BigInt(1), BigInt(2)), Rational(1), Rational(2), Rational(3)};
    const auto chosen = in.ConsumeIntegral<std::uint16_t>();
    std::vector<Point2> directions, loop;
    for (std::size_t i = 0; i < ts.size(); ++i) {
        if (chosen & (1U << i)) directions.push_back(unit_at(ts[i]));
    }
    if (directions.size() < 3) return {};
    for (std::size_t i = 0; i < directions.size(); ++i) {
        const Point2& d = directions[i];
        const Point2& e = directions[(i + 1) % directions.size()];
        if ((d[0] * e[1] - d[1] * e[0]).sign() <= 0) return {};
    }
    for (const Point2& d : directions) {
        const Rational r = fraction(in, 1, 6, 3);
        loop.push_back({r * d[0], r * d[1]});
    }
    if (in.ConsumeBool()) std::reverse(loop.begin(), loop.end());
    return loop;
}

std::optional<Entry> push_prism(FuzzedDataProvider& in) {
    const std::vector<Point2> loop = star_loop(in);
    if (loop.empty()) return std::nullopt;
    const Rational h = fraction(in, 1, 8, 4);
    // A simple loop always has a triangulation: a refusal here is a fault.
    return Entry{make_prism(loop, h, "p"), Rational(3) * loop_area2(loop).abs() * h};
}

bool same_polygons(const Solid& x, const Solid& y) {
    if (x.polygons.size() != y.polygons.size()) return false;
    for (std::size_t i = 0; i < x.polygons.size(); ++i) {
        if (x.polygons[i].vertices != y.polygons[i].vertices || x.polygons[i].label != y.polygons[i].label) return false;
    }
    return true;
}

void check_merged(const Solid& solid) {
    const Solid m = merged(solid);
    check(volume6(m) == volume6(solid));
    check(watertight_ok(m));
    const Solid again = merged(m);
    check(again.polygons.size() == m.polygons.size());
    for (std::size_t i = 0; i < m.polygons.size(); ++i) check(again.polygons[i].vertices == m.polygons[i].vertices);
    std::map<std::pair<std::size_t, std::size_t>, int> sides;
    for (const auto& t : to_mesh(solid).triangles) {
        for (std::size_t i = 0; i < 3; ++i) ++sides[{t[i], t[(i + 1) % 3]}];
    }
    for (const auto& [side, count] : sides) {
        const auto reverse = sides.find({side.second, side.first});
        check(reverse != sides.end() && reverse->second == count);
    }
}

Entry combine(const Entry& a, const Entry& b, FuzzedDataProvider& in) {
    const Solid joined = boolean_impl("union", a.solid, b.solid);
    const Solid left = boolean_impl("cut", a.solid, b.solid);
    const Solid common = boolean_impl("intersect", a.solid, b.solid);
    const Rational v_join = volume6(joined), v_left = volume6(left), v_common = volume6(common);
    check(v_join + v_common == a.volume6 + b.volume6);
    check(v_left == a.volume6 - v_common);
    check(v_common.sign() >= 0 && v_common <= a.volume6 && v_common <= b.volume6);
    check(watertight_ok(joined) && watertight_ok(left) && watertight_ok(common));
    for (const Solid* s : {&joined, &left, &common}) check_merged(*s);
    const Solid engine_joined = corefine(BooleanOp::Union, a.solid, b.solid);
    const Solid engine_left = corefine(BooleanOp::Cut, a.solid, b.solid);
    const Solid engine_common = corefine(BooleanOp::Intersect, a.solid, b.solid);
    check(volume6(engine_joined) == v_join && volume6(engine_left) == v_left && volume6(engine_common) == v_common);
    check(watertight_ok(engine_joined) && watertight_ok(engine_left) && watertight_ok(engine_common));
    // A body passed on to another operation reads back as the solid merged in between.
    const Body body_joined = corefine(BooleanOp::Union, body_of(a.solid), body_of(b.solid));
    check(same_polygons(materialise(body_joined), engine_joined));
    const Body again = corefine(BooleanOp::Cut, body_joined, body_of(b.solid));
    check(same_polygons(materialise(again), corefine(BooleanOp::Cut, engine_joined, b.solid)));
    check(volume6(materialise(again)) == v_left);
    switch (in.ConsumeIntegralInRange<int>(0, 5)) {
        case 0:
            return {joined, v_join};
        case 1:
            return {left, v_left};
        case 2:
            return {common, v_common};
        case 3:
            return {engine_joined, v_join};
        case 4:
            return {engine_left, v_left};
        default:
            return {engine_common, v_common};
    }
}

// The union of every solid on the stack: closed, no smaller than any of them, and no larger than
// their sum; then the state text of the top solid read back exactly.
Entry union_of_stack(const std::vector<Entry>& stack) {
    std::vector<const Solid*> solids;
    Rational sum, largest;
    for (const Entry& e : stack) {
        solids.push_back(&e.solid);
        sum += e.volume6;
        if (largest < e.volume6) largest = e.volume6;
    }
    Solid all = union_all(solids);
    const Rational v = volume6(all);
    check(watertight_ok(all) && largest <= v && v <= sum);
    const Solid reread = solid_from_state(solid_state(all));
    check(same_polygons(reread, all));
    return {std::move(all), v};
}

enum Step : int { kBox, kPrism, kTranslate, kScale, kMirror, kRotate, kBoolean, kUnionAll, kStepCount };

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    std::vector<Entry> stack;
    for (std::size_t n = 0; n < kMaxSteps && in.remaining_bytes() > 0; ++n) {
        const int step = stack.empty() ? in.ConsumeIntegralInRange<int>(kBox, kPrism)
                                       : in.ConsumeIntegralInRange<int>(0, kStepCount - 1);
        if (step == kBox || step == kPrism) {
            std::optional<Entry> entry = step == kBox ? push_box(in) : push_prism(in);
            if (!entry) continue;
            check(watertight_ok(entry->solid) && volume6(entry->solid) == entry->volume6);
            if (stack.size() == kMaxStack) stack.erase(stack.begin());
            stack.push_back(std::move(*entry));
            continue;
        }
        const Entry& top = stack.back();
        const Entry& second = stack.size() > 1 ? stack[stack.size() - 2] : top;
        const std::string before = canonical_text(top.solid);
        const std::string second_before = canonical_text(second.solid);
        Entry result = step == kTranslate ? translate(top, in)
                       : step == kScale   ? scale(top, in)
                       : step == kMirror  ? mirror(top, in)
                       : step == kRotate  ? rotate(top, in)
                       : step == kUnionAll ? union_of_stack(stack)
                                          : combine(second, top, in);
        check(canonical_text(top.solid) == before && canonical_text(second.solid) == second_before);
        check(volume6(result.solid) == result.volume6);
        check(watertight_ok(result.solid));
        if (step == kBoolean && stack.size() > 1) stack.pop_back();
        stack.back() = std::move(result);
    }
    return 0;
}
