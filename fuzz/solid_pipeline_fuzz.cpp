// Fuzz target: the solid pipeline. The input bytes are decoded into a short program over a small
// stack of solids: push a box with small rational sizes and corner, or apply a transform to the
// top solid. Every step checks what must hold exactly, from values known independently of the
// code under test: the six-fold volume, the bounding box and face count of each box, the volume
// after each transform, the inverse transform giving back the same canonical text, and the
// operand left unchanged.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "solid/measures.hpp"
#include "solid/solid.hpp"
#include "solid/transforms.hpp"

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

Entry push_box(FuzzedDataProvider& in) {
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

enum Step : int { kBox, kTranslate, kScale, kMirror, kRotate, kStepCount };

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    std::vector<Entry> stack;
    for (std::size_t n = 0; n < kMaxSteps && in.remaining_bytes() > 0; ++n) {
        const int step = stack.empty() ? kBox : in.ConsumeIntegralInRange<int>(0, kStepCount - 1);
        if (step == kBox) {
            if (stack.size() == kMaxStack) stack.erase(stack.begin());
            stack.push_back(push_box(in));
            continue;
        }
        const Entry& top = stack.back();
        const std::string before = canonical_text(top.solid);
        Entry result = step == kTranslate ? translate(top, in)
                       : step == kScale   ? scale(top, in)
                       : step == kMirror  ? mirror(top, in)
                                          : rotate(top, in);
        check(canonical_text(top.solid) == before);
        check(volume6(result.solid) == result.volume6);
        stack.back() = std::move(result);
    }
    return 0;
}
